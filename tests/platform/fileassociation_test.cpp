// The design file type registered for the user in fresh data and configuration folders: the
// files "make install" installs (from data/), the default application, and the code of the last
// step that failed.
#include "platform/fileassociation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>

namespace vlr {
namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

bool MakeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

class RegisterAssociationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        integration.dataHome = root.filePath("data");
        integration.configHome = root.filePath("config");
        integration.programPath = "/opt/velloran/bin/velloran";
        integration.xdgMime = QStandardPaths::findExecutable("xdg-mime");
        integration.updateMimeDatabase = QStandardPaths::findExecutable("update-mime-database");
        ASSERT_FALSE(integration.xdgMime.isEmpty()) << "xdg-mime (package xdg-utils) is needed";
        ASSERT_FALSE(integration.updateMimeDatabase.isEmpty()) << "update-mime-database is needed";
    }
    QString Data(const QString& path) const { return QDir(integration.dataHome).filePath(path); }

    QTemporaryDir root;
    DesktopIntegration integration;
};

TEST_F(RegisterAssociationTest, WritesTheInstalledFilesWithTheProgramInTheCommandAndRecordsTheDefault) {
    EXPECT_EQ(RegisterAssociation(integration), 0);

    EXPECT_EQ(Read(Data("mime/packages/velloran.xml")), Read(VLR_DATA_DIR "/velloran-mime.xml"));
    EXPECT_EQ(Read(Data("icons/hicolor/scalable/apps/velloran.svg")), Read(VLR_DATA_DIR "/velloran.svg"));
    QByteArray entry = Read(VLR_DATA_DIR "/velloran.desktop");
    ASSERT_TRUE(entry.contains("\nExec=velloran -open %f\n"));
    entry.replace("\nExec=velloran -open %f\n", "\nExec=/opt/velloran/bin/velloran -open %f\n");
    EXPECT_EQ(Read(Data("applications/velloran.desktop")), entry);

    // The MIME database knows the type by its pattern, and the entry is the type's default.
    EXPECT_TRUE(Read(Data("mime/globs2")).contains(":application/x-velloran:*.vlrn\n"));
    EXPECT_TRUE(Read(QDir(integration.configHome).filePath("mimeapps.list"))
                    .contains("[Default Applications]\napplication/x-velloran=velloran.desktop\n"));

    // Registering again (the repair at a later start) gives the same files.
    EXPECT_EQ(RegisterAssociation(integration), 0);
    EXPECT_EQ(Read(Data("applications/velloran.desktop")), entry);
}

// Each case makes one or more steps impossible; the code is that of the last step that failed
// (type 31, entry 33, MIME database 37, default 30, in that order).
TEST_F(RegisterAssociationTest, AFailedStepGivesItsCodeAndTheOtherStepsStillRun) {
    struct Case {
        const char* what;
        std::function<bool(DesktopIntegration&)> arrange;
        int code;
        bool entryWritten;
    };
    const Case cases[] = {
        {"data folder is a regular file", [](DesktopIntegration& i) { return MakeFile(i.dataHome); }, 37,
         false},
        {"mime folder is a regular file",
         [](DesktopIntegration& i) { return QDir().mkpath(i.dataHome) && MakeFile(i.dataHome + "/mime"); },
         37, true},
        {"applications folder is a regular file",
         [](DesktopIntegration& i) {
             return QDir().mkpath(i.dataHome) && MakeFile(i.dataHome + "/applications");
         },
         33, false},
        // The tool says it succeeded although it could not write the list.
        {"configuration folder is a regular file",
         [](DesktopIntegration& i) { return MakeFile(i.configHome); }, 30, true},
        {"no xdg-mime",
         [](DesktopIntegration& i) {
             i.xdgMime.clear();
             return true;
         },
         30, true},
        {"no update-mime-database",
         [](DesktopIntegration& i) {
             i.updateMimeDatabase.clear();
             return true;
         },
         0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        DesktopIntegration arranged = integration;
        arranged.dataHome = folder.filePath("data");
        arranged.configHome = folder.filePath("config");
        ASSERT_TRUE(c.arrange(arranged));
        EXPECT_EQ(RegisterAssociation(arranged), c.code);
        EXPECT_EQ(QFile::exists(arranged.dataHome + "/applications/velloran.desktop"), c.entryWritten);
    }
}

TEST(DesktopEntry, TheCommandQuotesAndEscapesTheProgramPathByTheEntryRules) {
    struct Case {
        QString path;
        QString command;
    };
    const Case cases[] = {
        {"/usr/bin/velloran", "/usr/bin/velloran"},
        {"/opt/my apps/velloran", R"("/opt/my apps/velloran")"},
        {"/home/a$b/velloran", R"("/home/a\\$b/velloran")"},
        {"/srv/100%/velloran", "/srv/100%%/velloran"},
        {R"(/x/back\slash)", R"("/x/back\\\\slash")"},
        {R"(/x/say"hi")", R"("/x/say\\"hi\\"")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(QuoteExecArgument(c.path), c.command);
        EXPECT_TRUE(DesktopEntryText(c.path).contains("\nExec=" + c.command + " -open %f\n"));
    }
}

TEST(DesktopIntegration, ForThisUserTakesTheUsersFoldersAndTheRunningProgram) {
    QTemporaryDir folder;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_HOME", folder.filePath("d").toUtf8());
    qputenv("XDG_CONFIG_HOME", folder.filePath("c").toUtf8());
    DesktopIntegration integration = DesktopIntegration::ForThisUser();
    oldData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldData);
    oldConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldConfig);

    EXPECT_EQ(integration.dataHome, folder.filePath("d"));
    EXPECT_EQ(integration.configHome, folder.filePath("c"));
    EXPECT_EQ(integration.programPath, QCoreApplication::applicationFilePath());
}

} // namespace
} // namespace vlr
