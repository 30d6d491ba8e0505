#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace kestrune::ui {

namespace {

// How long a later start waits for the running one; the running one may be busy in a modal
// box, whose event loop still answers.
constexpr int kAnswerMs = 10000;
constexpr int kConnectMs = 2000;
constexpr char kAcknowledge = '!';

QString RuntimeFolder(const QString& given) {
    if (!given.isEmpty()) {
        return given;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}

// The same folder reached by another spelling (a link, a trailing separator) must give the
// same name; the user id keeps two users' instances apart in a shared temporary folder.
QString InstanceKey(const QString& programFolder) {
    QString folder = QFileInfo(programFolder).canonicalFilePath();
    if (folder.isEmpty()) {
        folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    }
    const QByteArray hash =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(20);
    return QStringLiteral("kestrune-") + QString::fromLatin1(hash);
}

}  // namespace

SingleInstance::SingleInstance(const QString& programFolder, const QString& runtimeFolder,
                               QObject* parent)
    : QObject(parent) {
    const QString folder = RuntimeFolder(runtimeFolder);
    const QString key = InstanceKey(programFolder);
    serverName_ = QDir(folder).filePath(key + QStringLiteral(".socket"));
    lockPath_ = QDir(folder).filePath(key + QStringLiteral(".lock"));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

SingleInstance::Role SingleInstance::Claim(const QStringList& arguments) {
    QLockFile lock(lockPath_);
    // A lock left by a crashed start is taken over once its process is gone.
    if (!lock.tryLock(kAnswerMs)) {
        error_ = QStringLiteral("Cannot lock %1").arg(lockPath_);
        return Role::Alone;
    }
    if (HandOver(arguments)) {
        return Role::HandedOver;
    }
    if (!error_.isEmpty()) {
        return Role::Alone;  // an instance runs but did not answer: do not steal its socket
    }
    // Nobody answers on the socket: it is missing or left by a crashed instance.
    QLocalServer::removeServer(serverName_);
    if (!server_.listen(serverName_)) {
        error_ = QStringLiteral("Cannot listen on %1: %2").arg(serverName_, server_.errorString());
        return Role::Alone;
    }
    return Role::First;
}

bool SingleInstance::HandOver(const QStringList& arguments) {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kConnectMs)) {
        return false;
    }
    QStringList absolute;
    for (const QString& argument : arguments) {
        const QFileInfo info(argument);
        absolute << (info.exists() ? info.absoluteFilePath() : argument);
    }
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << absolute;
    socket.write(message);
    if (!socket.waitForBytesWritten(kAnswerMs) || !socket.waitForReadyRead(kAnswerMs)) {
        error_ = QStringLiteral("The running Kestrune did not answer on %1").arg(serverName_);
        return false;
    }
    return socket.read(1) == QByteArray(1, kAcknowledge);
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream stream(socket);
            stream.startTransaction();
            QStringList arguments;
            stream >> arguments;
            if (!stream.commitTransaction()) {
                return;  // the rest of the message is still on its way
            }
            socket->write(QByteArray(1, kAcknowledge));
            socket->flush();
            Q_EMIT Received(arguments);
        });
    }
}

}  // namespace kestrune::ui
