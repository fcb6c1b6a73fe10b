// A second start with "-open FILE" hands the file to the running program.
#include "platform/singleinstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace vlr {
namespace {

TEST(SingleInstance, ASecondStartHandsItsFileToTheRunningProgram) {
    const QString key = QStringLiteral("velloran-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(key);
    ASSERT_TRUE(running.Listen());
    QSignalSpy opened(&running, &SingleInstance::openRequested);

    QTemporaryDir folder;
    QString design = folder.filePath("shop card.vlrn");
    ASSERT_TRUE(QFile::copy(VLR_SAMPLE_DESIGN, design));

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VELLORAN_INSTANCE_KEY", key);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.start(VLR_PROGRAM, {"-open", design, "-open", folder.filePath("missing.vlrn")});
    // The second program hands over and ends at once, while this one keeps serving events.
    ASSERT_TRUE(QTest::qWaitFor([&second] { return second.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&opened] { return opened.count() == 1; }, 5000));
    EXPECT_EQ(opened.at(0).at(0).toString(), design);   // the missing file is not asked for
}

// Between finding no one to hand over to and listening, the first program holds the start-up
// lock, so that a program starting at the same moment waits for it and then hands over instead
// of becoming a second running program that takes the first one's socket.
TEST(SingleInstance, TheStartUpLockIsHeldUntilTheProgramListens) {
    const QString key = QStringLiteral("velloran-race-%1").arg(QCoreApplication::applicationPid());
    QLockFile other(QDir::temp().filePath(key + ".lock"));
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

TEST(SingleInstance, TheOpenArgumentsOfACommandLine) {
    EXPECT_EQ(FilesToOpen({"velloran", "-open", "/a b.vlrn", "x", "-open"}), QStringList{"/a b.vlrn"});
    EXPECT_TRUE(FilesToOpen({"velloran"}).isEmpty());
}

} // namespace
} // namespace vlr
