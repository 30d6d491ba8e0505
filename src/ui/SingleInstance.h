#pragma once
// One window per program folder: the first start listens on a local socket named after its
// program folder; a later start for the same folder hands its arguments over and ends. A lock
// file orders two starts at the same moment, and a socket left by a crashed instance is
// removed before listening, so it never blocks the next start.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

namespace kestrune::ui {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    enum class Role {
        First,       // this start owns the folder and listens for later ones
        HandedOver,  // a running instance took the arguments; this start ends
        Alone,       // neither could be done; this start runs without a listener
    };

    // `programFolder` decides which starts share one window; `runtimeFolder` holds the socket
    // and the lock (empty: the user's runtime folder).
    explicit SingleInstance(const QString& programFolder, const QString& runtimeFolder = {},
                            QObject* parent = nullptr);

    // Becomes the first instance, or hands `arguments` to the running one. Arguments that name
    // existing files are passed as absolute paths, since the running instance has its own
    // current folder.
    Role Claim(const QStringList& arguments);

    // Why Claim answered Alone.
    QString ErrorText() const { return error_; }
    QString ServerName() const { return serverName_; }
    QString LockPath() const { return lockPath_; }

  Q_SIGNALS:
    // A later start's arguments, as it was given them.
    void Received(const QStringList& arguments);

  private:
    bool HandOver(const QStringList& arguments);
    void Accept();

    QString serverName_;
    QString lockPath_;
    QString error_;
    QLocalServer server_;
};

}  // namespace kestrune::ui
