#include "SpecificationWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace kestrune::ui {

namespace {

// Editors write a file in steps; the reload waits until they have been quiet this long, and
// still comes well within a second of the save.
constexpr int kSettleMilliseconds = 250;

}  // namespace

SpecificationWatcher::SpecificationWatcher(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this)) {
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMilliseconds);
    connect(settle_, &QTimer::timeout, this, &SpecificationWatcher::Settled);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &SpecificationWatcher::Schedule);
    // A rename over the file ends the file's watch; its folder sees the new file arrive.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &SpecificationWatcher::Schedule);
}

SpecificationWatcher::Stamp SpecificationWatcher::StampNow() const {
    const QFileInfo info(path_);
    if (!info.exists()) {
        return {};
    }
    return {info.size(), info.lastModified()};
}

void SpecificationWatcher::Follow(const QString& path) {
    if (path == path_) {
        return;
    }
    if (!watcher_->files().isEmpty()) {
        watcher_->removePaths(watcher_->files());
    }
    if (!watcher_->directories().isEmpty()) {
        watcher_->removePaths(watcher_->directories());
    }
    settle_->stop();
    path_ = path;
    stamp_ = StampNow();
    if (path_.isEmpty()) {
        return;
    }
    watcher_->addPath(QFileInfo(path_).absolutePath());
    if (QFileInfo::exists(path_)) {
        watcher_->addPath(path_);
    }
}

void SpecificationWatcher::Retry() {
    stamp_ = {};  // whatever the file holds now differs from what was shown
    settle_->start();
}

void SpecificationWatcher::Schedule() {
    settle_->start();
}

void SpecificationWatcher::Settled() {
    if (path_.isEmpty()) {
        return;
    }
    if (QFileInfo::exists(path_) && !watcher_->files().contains(path_)) {
        watcher_->addPath(path_);
    }
    const Stamp now = StampNow();
    // A file being replaced is missing for a moment: the new one's arrival is the change.
    if (now.size < 0 || now == stamp_) {
        return;
    }
    stamp_ = now;
    Q_EMIT Changed();
}

}  // namespace kestrune::ui
