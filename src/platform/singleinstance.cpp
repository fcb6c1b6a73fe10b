// The single running program.
#include "platform/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace vlr {

namespace {

// A missing server is known at once; the wait only matters for a busy running program.
constexpr int kConnectTimeoutMs = 2000;
constexpr int kLockTimeoutMs = 3000;

// Serialises two programs starting at the same moment.
QString LockPath(const QString& key) {
    return QDir::temp().filePath(key + ".lock");
}

} // namespace

QString SingleInstance::DefaultKey() {
    QString key = qEnvironmentVariable("VELLORAN_INSTANCE_KEY");
    return key.isEmpty() ? QStringLiteral("velloran-%1").arg(::getuid()) : key;
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), key_(std::move(key)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
                const QStringList lines =
                    QString::fromUtf8(socket->readAll()).split('\n', Qt::SkipEmptyParts);
                socket->deleteLater();
                Q_EMIT activated();
                for (const QString& line : lines) {
                    // A request for a file that does not exist does nothing.
                    if (QFileInfo(line).isFile()) {
                        Q_EMIT openRequested(line);
                    }
                }
            });
        }
    });
}

SingleInstance::~SingleInstance() {
    server_.close();
}

bool SingleInstance::HandOffToRunningInstance(const QStringList& paths) {
    startLock_ = std::make_unique<QLockFile>(LockPath(key_));
    startLock_->tryLock(kLockTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false; // still holding the lock: this program is about to listen
    }
    QByteArray message;
    for (const QString& path : paths) {
        message += QFileInfo(path).absoluteFilePath().toUtf8() + '\n';
    }
    socket.write(message);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(kConnectTimeoutMs);
    }
    startLock_.reset();
    return true;
}

bool SingleInstance::Listen() {
    if (!startLock_) {
        startLock_ = std::make_unique<QLockFile>(LockPath(key_));
        startLock_->tryLock(kLockTimeoutMs);
    }
    // A socket left behind by a program that ended abruptly.
    QLocalServer::removeServer(key_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = server_.listen(key_);
    startLock_.reset(); // a program starting now finds this one listening
    return listening;
}

QStringList FilesToOpen(const QStringList& arguments) {
    QStringList files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "-open" && i + 1 < arguments.size()) {
            files << arguments[++i];
        }
    }
    return files;
}

} // namespace vlr
