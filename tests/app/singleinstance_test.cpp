// A second start with "-open FILE" hands the file to the running program of the same user and
// display; a socket of a program that still runs is never taken over.
#include "platform/singleinstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace vlr {
namespace {

QString TestKey(const char* what) {
    return QStringLiteral("velloran-%1-%2").arg(what).arg(QCoreApplication::applicationPid());
}

// Starts the program with "-open path" under the key, to hand the file over.
void StartSecond(QProcess& second, const QString& key, const QStringList& files) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VELLORAN_INSTANCE_KEY", key);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    QStringList arguments;
    for (const QString& file : files) {
        arguments << "-open" << file;
    }
    second.start(VLR_PROGRAM, arguments);
}

class HandOff : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(SingleInstance::SocketPath("key").isEmpty()) << "no private runtime folder";
        design = folder.filePath("shop card.vlrn");
        ASSERT_TRUE(QFile::copy(VLR_SAMPLE_DESIGN, design));
    }
    // Waits for the second program to end; one that became a running program is stopped.
    void ExpectHandedOverAndEnded(QProcess& second) {
        const bool ended =
            QTest::qWaitFor([&second] { return second.state() == QProcess::NotRunning; }, 20000);
        if (!ended) {
            second.kill();
            second.waitForFinished();
        }
        EXPECT_TRUE(ended) << "the second start became a running program of its own";
        EXPECT_EQ(second.exitCode(), 0);
    }

    QTemporaryDir folder;
    QString design;
};

// The second program hands over and ends at once, also while the running one is busy (printing
// a sheet, say) for three seconds: the file opens once the first is free again.
TEST_F(HandOff, ASecondStartHandsItsFileToTheRunningProgramEvenWhenItIsBusy) {
    for (int busySeconds : {0, 3}) {
        const QString key = TestKey(busySeconds == 0 ? "idle" : "busy");
        SingleInstance running(key);
        ASSERT_TRUE(running.Listen());
        QSignalSpy opened(&running, &SingleInstance::openRequested);
        QProcess second;
        StartSecond(second, key, {design, folder.filePath("missing.vlrn")});
        ASSERT_TRUE(second.waitForStarted(10000));
        std::this_thread::sleep_for(std::chrono::seconds(busySeconds)); // no events are served meanwhile
        ExpectHandedOverAndEnded(second);
        ASSERT_TRUE(QTest::qWaitFor([&opened] { return opened.count() == 2; }, 5000)) << busySeconds;
        EXPECT_EQ(opened.at(0).at(0).toString(), design);
        // The missing file is asked for as well, so that the program can say it is not there.
        EXPECT_EQ(opened.at(1).at(0).toString(), folder.filePath("missing.vlrn"));
    }
}

// Between finding no one to hand over to and listening, the first program holds the start-up
// lock, so that a program starting at the same moment waits for it and then hands over instead
// of becoming a second running program that takes the first one's socket.
TEST(SingleInstance, TheStartUpLockIsHeldUntilTheProgramListens) {
    const QString key = TestKey("race");
    QLockFile other(SingleInstance::SocketPath(key) + ".lock");
    SingleInstance first(key);
    ASSERT_FALSE(first.HandOffToRunningInstance({})); // no one runs yet
    EXPECT_FALSE(other.tryLock(0));
    ASSERT_TRUE(first.Listen());
    EXPECT_TRUE(other.tryLock(0));
    other.unlock();

    // A second program now finds the first listening.
    SingleInstance second(key);
    QSignalSpy activated(&first, &SingleInstance::activated);
    EXPECT_TRUE(second.HandOffToRunningInstance({}));
    EXPECT_TRUE(other.tryLock(0)); // and leaves the lock free
    EXPECT_TRUE(QTest::qWaitFor([&activated] { return activated.count() == 1; }, 5000));
}

// A socket file nothing listens on (its program ended abruptly) is replaced; the socket of a
// program that still listens is left to it.
TEST(SingleInstance, OnlyASocketNothingAnswersOnIsTakenOver) {
    QTemporaryDir folder;
    const QString path = folder.filePath("instance");
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(stale, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale); // the file stays behind
    ASSERT_TRUE(QFileInfo::exists(path));
    {
        SingleInstance first(path);
        EXPECT_TRUE(first.Listen());
    }

    QLocalServer running;
    ASSERT_TRUE(running.listen(path));
    SingleInstance second(path);
    EXPECT_FALSE(second.Listen());
    QLocalSocket caller;
    caller.connectToServer(path);
    EXPECT_TRUE(caller.waitForConnected(2000));
    EXPECT_TRUE(running.waitForNewConnection(2000)); // still the running program's socket
}

// Connects to the socket as the user and sends a line, from a child process; true when sent.
bool SendAs(uid_t user, const QString& path, const char* line) {
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child == 0) {
        if (user != ::getuid() && (::setgid(user) != 0 || ::setuid(user) != 0)) {
            ::_exit(2);
        }
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, name.constData(), sizeof address.sun_path - 1);
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool sent = socket >= 0 &&
                          ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                          ::write(socket, line, std::strlen(line)) == static_cast<ssize_t>(std::strlen(line));
        ::_exit(sent ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Another local user who reaches the socket still cannot hand files over: only the user's own
// programs are heard.
TEST(SingleInstance, AHandOffFromAnotherUserIsNotTaken) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "acting as another user needs root";
    }
    constexpr uid_t kNobody = 65534;
    QTemporaryDir folder;
    const QString path = folder.filePath("instance");
    SingleInstance running(path);
    ASSERT_TRUE(running.Listen());
    // Open to everyone, as a socket in a shared folder would be.
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder.path(), everyone));
    ASSERT_TRUE(QFile::setPermissions(path, everyone));
    QSignalSpy activated(&running, &SingleInstance::activated);
    ASSERT_TRUE(SendAs(::getuid(), path, "/etc/hostname\n"));
    ASSERT_TRUE(QTest::qWaitFor([&activated] { return activated.count() == 1; }, 5000)); // heard
    ASSERT_TRUE(SendAs(kNobody, path, "/etc/hostname\n"));
    QTest::qWait(500);
    EXPECT_EQ(activated.count(), 1);
}

TEST(SingleInstance, EachDisplayAndSessionHasItsOwnSocketInThePrivateRuntimeFolder) {
    auto key = [](const char* platform, const char* name, const QString& value) {
        QProcessEnvironment environment;
        environment.insert(name, value);
        return SingleInstance::KeyFor(platform, environment);
    };
    EXPECT_NE(key("xcb", "DISPLAY", ":0"), key("xcb", "DISPLAY", ":1"));
    EXPECT_NE(key("wayland", "WAYLAND_DISPLAY", "wayland-0"), key("wayland", "WAYLAND_DISPLAY", "wayland-1"));
    EXPECT_NE(key("offscreen", "XDG_SESSION_ID", "3"), key("offscreen", "XDG_SESSION_ID", "4"));
    const QString far = key("wayland", "WAYLAND_DISPLAY", "/run/user/1000/" + QString(200, 'w'));
    EXPECT_FALSE(far.contains('/'));
    EXPECT_LE(far.size(), 48);

    // In the runtime folder, which only the user may enter.
    const QString path = SingleInstance::SocketPath("velloran-x");
    const QFileInfo folder(QFileInfo(path).path());
    EXPECT_EQ(folder.ownerId(), ::getuid());
    EXPECT_EQ(folder.permissions() &
                  (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther |
                   QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup),
              QFileDevice::Permissions());
    EXPECT_FALSE(path.startsWith(QDir::tempPath() + "/velloran"));
}

TEST(SingleInstance, TheOpenArgumentsOfACommandLine) {
    EXPECT_EQ(FilesToOpen({"velloran", "-open", "/a b.vlrn", "x", "-open"}), QStringList{"/a b.vlrn"});
    EXPECT_TRUE(FilesToOpen({"velloran"}).isEmpty());
}

} // namespace
} // namespace vlr
