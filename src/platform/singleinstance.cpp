// The single running program.
#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <sys/socket.h>
#include <unistd.h>

namespace vlr {

namespace {

// A missing server is known at once; the wait only matters when a running program has more
// hand-offs waiting than the socket queues.
constexpr int kConnectTimeoutMs = 2000;
constexpr int kLockTimeoutMs = 3000;
// Socket paths are short (108 bytes with the folder): longer display names go in as a digest.
constexpr qsizetype kLongestPlainName = 32;

// Whether the other end of a connected local socket runs as this user: another user's program
// neither hands files to this one nor receives this user's file paths.
bool PeerIsThisUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) ==
               0 &&
           peer.uid == ::getuid();
}

// Whether nothing at all answers on the socket: no file, or one no program listens on any more.
// A program too busy to take the hand-off still answers.
bool NothingAnswers(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kConnectTimeoutMs)) {
        probe.abort();
        return false;
    }
    return probe.error() == QLocalSocket::ServerNotFoundError ||
           probe.error() == QLocalSocket::ConnectionRefusedError;
}

// The display the program shows on, as the platform names it.
QString DisplayName(const QString& platform, const QProcessEnvironment& environment) {
    if (platform == "xcb") {
        return environment.value("DISPLAY");
    }
    if (platform == "wayland") {
        return environment.value("WAYLAND_DISPLAY", "wayland-0");
    }
    const QString session = environment.value("XDG_SESSION_ID");
    return session.isEmpty() ? platform : "session" + session;
}

} // namespace

QString SingleInstance::DefaultKey() {
    const QString key = qEnvironmentVariable("VELLORAN_INSTANCE_KEY");
    return key.isEmpty() ? KeyFor(QGuiApplication::platformName(), QProcessEnvironment::systemEnvironment())
                         : key;
}

QString SingleInstance::KeyFor(const QString& platform, const QProcessEnvironment& environment) {
    QString display = DisplayName(platform, environment);
    display.replace('/', '_');
    if (display.size() > kLongestPlainName) {
        display = QCryptographicHash::hash(display.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    }
    return "velloran-" + display;
}

QString SingleInstance::SocketPath(const QString& key) {
    if (key.isEmpty() || QDir::isAbsolutePath(key)) {
        return key;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QFileInfo info(folder);
    const auto othersMay = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                           QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (folder.isEmpty() || !info.isDir() || info.ownerId() != ::getuid() ||
        (info.permissions() & othersMay)) {
        return {};
    }
    return QDir(folder).filePath(key);
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), path_(SocketPath(key)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            if (!PeerIsThisUser(*socket)) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
                const QStringList lines =
                    QString::fromUtf8(socket->readAll()).split('\n', Qt::SkipEmptyParts);
                socket->deleteLater();
                Q_EMIT activated();
                // A file that is not there is asked for too: the program says it cannot find it.
                for (const QString& line : lines) {
                    Q_EMIT openRequested(line);
                }
            });
        }
    });
}

SingleInstance::~SingleInstance() {
    server_.close();
}

void SingleInstance::LockStart() {
    // Serialises two programs starting at the same moment.
    startLock_ = std::make_unique<QLockFile>(path_ + ".lock");
    startLock_->tryLock(kLockTimeoutMs);
}

bool SingleInstance::HandOffToRunningInstance(const QStringList& paths) {
    if (path_.isEmpty()) {
        return false;
    }
    LockStart();
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(kConnectTimeoutMs) || !PeerIsThisUser(socket)) {
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
    if (path_.isEmpty()) {
        return false;
    }
    if (!startLock_) {
        LockStart();
    }
    // No access options: with them the server is bound elsewhere and renamed over the path,
    // replacing the socket of a program that is still running. The private folder keeps other
    // users out.
    bool listening = server_.listen(path_);
    if (!listening && server_.serverError() == QAbstractSocket::AddressInUseError && NothingAnswers(path_)) {
        // A socket left behind by a program that ended abruptly.
        QLocalServer::removeServer(path_);
        listening = server_.listen(path_);
    }
    startLock_.reset(); // a program starting now finds this one listening
    return listening;
}

QStringList FilesToOpen(const QStringList& arguments) {
    QStringList files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "-open" && i + 1 < arguments.size()) {
            // The running program may work in another folder.
            files << QFileInfo(arguments[++i]).absoluteFilePath();
        }
    }
    return files;
}

} // namespace vlr
