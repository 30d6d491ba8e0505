#include "RunFollower.h"

#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include "QtPlatform.h"
#include "app/Main.h"

namespace kestrune::ui {

namespace {

constexpr int kPollMs = 1000;

}  // namespace

QString TrayToolTip(const QString& status) {
    return status.isEmpty() ? QStringLiteral("Kestrune")
                            : QStringLiteral("Kestrune\n%1").arg(status);
}

RunFollower::RunFollower(TfrmMain& main, QWidget* window, QSystemTrayIcon* tray,
                         std::function<bool()> idle, std::function<void()> sync)
    : QObject(window),
      main_(main),
      window_(window),
      tray_(tray),
      idle_(std::move(idle)),
      sync_(std::move(sync)),
      timer_(new QTimer(this)) {
    seenEndings_ = main_.RunEndings;
    notify = [this](const QString& title, const QString& text) {
        DesktopNotification(title, text);
    };
    connect(timer_, &QTimer::timeout, this, &RunFollower::Poll);
    timer_->start(kPollMs);
}

void RunFollower::Poll() {
    // Not while an event's box is open: the event still works with the state it read.
    if (!idle_()) {
        return;
    }
    const RunPhase phase = main_.Run.phase;
    const std::string status = main_.RunStatus;
    const int endings = main_.RunEndings;
    main_.WatchRun();
    // Only a change makes the window match again, so a second's tick leaves it alone.
    if (main_.RunStatus != status || main_.Run.phase != phase || main_.RunEndings != endings) {
        sync_();
    }
}

void RunFollower::Sync() {
    const QString status = ToQt(main_.RunStatus);
    if (const QString tip = TrayToolTip(status); tray_->toolTip() != tip) {
        tray_->setToolTip(tip);
    }
    if (main_.RunEndings != seenEndings_) {
        seenEndings_ = main_.RunEndings;
        if (!window_->isActiveWindow()) {
            notify(QStringLiteral("Kestrune"), status);
            shown << QStringLiteral("Kestrune: %1").arg(status);
        }
    }
}

void RunFollower::DesktopNotification(const QString& title, const QString& text) {
    if (tray_->isVisible() && QSystemTrayIcon::supportsMessages()) {
        tray_->showMessage(title, text, QSystemTrayIcon::Information);
        return;
    }
    if (const QString tool = QStandardPaths::findExecutable(QStringLiteral("notify-send"));
        !tool.isEmpty()) {
        QProcess::startDetached(tool, {QStringLiteral("--app-name=Kestrune"), title, text});
    }
}

}  // namespace kestrune::ui
