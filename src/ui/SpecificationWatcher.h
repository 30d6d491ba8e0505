#pragma once
// Watches the loaded specification file and says when its content changed on disk, also when
// an editor saved it by writing a new file and renaming it over the old one.

#include <QDateTime>
#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QTimer;

namespace kestrune::ui {

class SpecificationWatcher : public QObject {
    Q_OBJECT
  public:
    explicit SpecificationWatcher(QObject* parent = nullptr);

    // Watches `path` from now on; an empty path watches nothing. The same path again keeps the
    // watch as it is.
    void Follow(const QString& path);
    // Says Changed() again shortly, for a change that could not be taken up yet.
    void Retry();

  Q_SIGNALS:
    // The file changed and has settled for a moment.
    void Changed();

  private:
    void Schedule();
    void Settled();
    // Size and time of the last change, so a touch of the folder alone is not a change.
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    Stamp StampNow() const;

    QFileSystemWatcher* watcher_;
    QTimer* settle_;
    QString path_;
    Stamp stamp_;
};

}  // namespace kestrune::ui
