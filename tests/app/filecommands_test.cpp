// File commands with the file dialogs answered by the test: saving, closing with unsaved work,
// the recent-file list and opening into the right window.
#include "app/dialoghost.h"
#include "app/filecommands.h"
#include "app/mainwindow.h"
#include "app/recentfiles.h"
#include "fakedesign.h"
#include "model/prompt.h"
#include "platform/inistore.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <unistd.h>

namespace vlr {
namespace {

using test::FakeDesign;

TEST(RecentFiles, MostRecentFirstWithoutDuplicatesAndSixteenAtMost) {
    reopenarr_t recent;
    for (int i = 1; i <= 16; ++i) {
        AddRecent(recent, "/cards/" + std::to_string(i) + ".vlrn");
    }
    EXPECT_EQ(recent[0], "/cards/16.vlrn");
    EXPECT_EQ(recent[15], "/cards/1.vlrn");
    AddRecent(recent, "/cards/new.vlrn");
    EXPECT_EQ(recent[0], "/cards/new.vlrn");
    EXPECT_EQ(recent[15], "/cards/2.vlrn");   // the oldest dropped off

    // Opening an entry again moves it to the front; the others keep their order.
    AddRecent(recent, "/cards/12.vlrn");
    EXPECT_EQ(recent[0], "/cards/12.vlrn");
    EXPECT_EQ(recent[1], "/cards/new.vlrn");
    EXPECT_EQ(recent[2], "/cards/16.vlrn");
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "/cards/12.vlrn"), 1);

    // Names differing in letter case are different files here.
    AddRecent(recent, "/cards/NEW.vlrn");
    EXPECT_EQ(recent[0], "/cards/NEW.vlrn");
    EXPECT_EQ(recent[2], "/cards/new.vlrn");

    AddRecent(recent, "");
    EXPECT_EQ(recent[0], "/cards/NEW.vlrn");
    ClearRecent(recent);
    EXPECT_TRUE(std::all_of(recent.begin(), recent.end(), [](const std::string& e) { return e.empty(); }));
}

class ScriptedDialogs : public FileDialogs {
public:
    QString OpenFileName(const QString&, const QString&) override { return Next(); }
    QString SaveFileName(const QString&, const QString& proposed) override {
        proposals.push_back(proposed);
        return Next();
    }
    std::deque<QString> answers;   // empty string = cancelled
    std::vector<QString> proposals;

private:
    QString Next() {
        if (answers.empty()) {
            return {};
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class QueuedPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons buttons) override {
        asked.emplace_back(text);
        if (buttons == PromptButtons::Ok || buttons == PromptButtons::Cancel || answers.empty()) {
            return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
        }
        PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<PromptAnswer> answers;
    std::vector<std::string> asked;
};

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<IniRegistryStore>(settingsFolder.path());
        form = std::make_unique<TForm1>(*store, prompt);
        commands = std::make_unique<FileCommands>(*form, prompt, dialogs, [this] {
            auto* window = new FakeDesign(0);
            window->prompt = &prompt;
            return window;
        });
        commands->Install();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->Timer2.stop();
    }
    void TearDown() override {
        form->hooks = MainWindowHooks{};
        commands.reset();
        form.reset();
    }
    QString PathOf(const QString& name) const { return folder.filePath(name); }
    FakeDesign* Active() const { return dynamic_cast<FakeDesign*>(form->ActiveDesign()); }
    size_t WindowCount() const { return form->OpenDesigns().size(); }

    QTemporaryDir settingsFolder, folder;
    std::unique_ptr<IniRegistryStore> store;
    QueuedPrompt prompt;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<FileCommands> commands;
};

TEST_F(FileCommandsTest, SaveCloseAndReopenGiveTheSameDesign) {
    commands->New();
    ASSERT_EQ(WindowCount(), 1u);
    FakeDesign* design = Active();
    EXPECT_EQ(design->caption(), "Untitled " + QString::number(design->untitledNumber()));
    design->AddLine(false)->color = 0x123456;

    dialogs.answers = {PathOf("card.vlrn")};
    commands->Save();   // no file yet: Save As
    EXPECT_EQ(design->fileName(), PathOf("card.vlrn"));
    EXPECT_EQ(design->caption(), "card");
    EXPECT_FALSE(IsModified(design->items()));
    EXPECT_EQ(form->params().state.reopen[0], PathOf("card.vlrn").toStdString());

    commands->Close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return WindowCount() == 0u; }));
    form->Timer2.stop();
    commands->ReopenRecent(1);
    ASSERT_EQ(WindowCount(), 1u);
    ItemRecord* line = FindRecord(Active()->items(), ItemKind::Line);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->color, 0x123456);
}

TEST_F(FileCommandsTest, AFileGoesIntoTheOnlyUntouchedWindowElseIntoANewOne) {
    commands->New();
    QFile::copy(VLR_SAMPLE_DESIGN, PathOf("sample.vlrn"));
    FakeDesign* first = Active();
    commands->OpenDocument(PathOf("sample.vlrn"));
    EXPECT_EQ(WindowCount(), 1u);
    EXPECT_EQ(Active(), first);
    EXPECT_EQ(first->caption(), "sample");

    commands->New();
    commands->OpenDocument(PathOf("sample.vlrn"));
    EXPECT_EQ(WindowCount(), 3u);
    // Every window has a number of its own.
    std::set<int32_t> numbers;
    for (DesignView* window : form->OpenDesigns()) {
        numbers.insert(window->docNumber());
    }
    EXPECT_EQ(numbers.size(), 3u);
}

TEST_F(FileCommandsTest, AWindowThatTookAFileTakesItsMenuEntriesAlongWhenItCloses) {
    commands->New();
    QFile::copy(VLR_SAMPLE_DESIGN, PathOf("sample.vlrn"));
    commands->OpenDocument(PathOf("sample.vlrn"));   // into the untouched window, under a new number
    ASSERT_EQ(WindowCount(), 1u);
    QMenu* windowMenu = form->Menu("Window");
    ASSERT_EQ(windowMenu->actions().size(), 1);
    EXPECT_EQ(windowMenu->actions().front()->text(), "sample");
    EXPECT_EQ(windowMenu->actions().front()->data().toInt(), Active()->docNumber());

    commands->Close();
    EXPECT_TRUE(QTest::qWaitFor([windowMenu] { return !windowMenu->menuAction()->isVisible(); }));
    EXPECT_TRUE(windowMenu->actions().isEmpty());
    EXPECT_FALSE(form->Action("File/Page Setup/Current File")->isVisible());
    EXPECT_FALSE(form->Action("File/Grid and Snap/Current File")->isVisible());
}

TEST_F(FileCommandsTest, AnInvalidFileTheUserDeclinesLeavesNothingOpen) {
    // Several records' worth of bytes, none of them a design's.
    QFile junk(PathOf("junk.vlrn"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();

    prompt.answers = {PromptAnswer::No};
    commands->OpenDocument(PathOf("junk.vlrn"));
    EXPECT_EQ(prompt.asked, std::vector<std::string>{kInvalidFileQuestion});
    EXPECT_EQ(WindowCount(), 0u);
    EXPECT_TRUE(form->DocumentArea()->subWindowList().isEmpty());
    EXPECT_FALSE(form->Menu("Window")->menuAction()->isVisible());
    EXPECT_TRUE(form->Menu("Window")->actions().isEmpty());
    EXPECT_FALSE(form->Action("File/Save")->isEnabled());
    EXPECT_FALSE(form->Action("File/Close")->isEnabled());

    // Answering Yes opens it as far as it goes: the window stays.
    prompt.answers = {PromptAnswer::Yes};
    commands->OpenDocument(PathOf("junk.vlrn"));
    EXPECT_EQ(WindowCount(), 1u);
    EXPECT_TRUE(form->Menu("Window")->menuAction()->isVisible());
}

TEST_F(FileCommandsTest, ClosingTheLastDesignBringsOneNewEmptyDesignButExitingDoesNot) {
    commands->New();
    Active()->AddLine(false);
    prompt.answers = {PromptAnswer::No};   // closed without saving
    const int designsBefore = FakeDesign::untitledCount;
    commands->Close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return WindowCount() == 0u; }));
    ASSERT_TRUE(QTest::qWaitFor([this] { return WindowCount() == 1u; }));
    EXPECT_EQ(FakeDesign::untitledCount, designsBefore + 1);
    EXPECT_TRUE(Active()->fileName().isEmpty());
    EXPECT_TRUE(IsUntouchedDesign(Active()->items()));
    EXPECT_TRUE(form->Menu("Window")->menuAction()->isVisible());
    QTest::qWait(1000);   // longer than the closing and opening timers together
    EXPECT_EQ(WindowCount(), 1u);
    EXPECT_EQ(FakeDesign::untitledCount, designsBefore + 1);

    // Ending the program closes the windows for good.
    form->close();
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([this] { return WindowCount() == 0u; }));
    QTest::qWait(1000);
    EXPECT_EQ(WindowCount(), 0u);
    EXPECT_EQ(FakeDesign::untitledCount, designsBefore + 1);
}

TEST_F(FileCommandsTest, ClosingAModifiedUntitledDesignAndCancellingSaveAsKeepsIt) {
    commands->New();
    Active()->AddLine(false);
    prompt.answers = {PromptAnswer::Yes};
    dialogs.answers = {QString()};   // Save As cancelled
    commands->Close();
    QTest::qWait(10);
    EXPECT_EQ(WindowCount(), 1u);
    EXPECT_EQ(prompt.asked.back(), kSaveUntitledQuestion);

    prompt.answers = {PromptAnswer::No};
    commands->Close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return WindowCount() == 0u; }));
    // Asked once for each Close.
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{kSaveUntitledQuestion, kSaveUntitledQuestion}));
}

// While another window has the focus the document area has no active window; Close still closes
// the design's frame and so asks about its unsaved work.
TEST_F(FileCommandsTest, CloseWhileAnotherWindowHasTheFocusStillAsks) {
    commands->New();
    FakeDesign* design = Active();
    design->AddLine(false);
    // The main window loses the focus: the area keeps its window as the current one only.
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(form->DocumentArea(), &deactivate);
    form->DocumentArea()->setActiveSubWindow(nullptr);
    ASSERT_EQ(form->DocumentArea()->activeSubWindow(), nullptr);
    ASSERT_EQ(form->ActiveDesign(), design);
    prompt.answers = {PromptAnswer::Cancel};
    commands->Close();
    QTest::qWait(10);
    EXPECT_EQ(prompt.asked, std::vector<std::string>{kSaveUntitledQuestion});
    EXPECT_EQ(WindowCount(), 1u);
    EXPECT_TRUE(design->isVisible());
}

// "All files (*.*)" as the caption, and every file listed under it, also one without a dot.
TEST(DesignFileTypes, AllFilesListsEveryFile) {
    QTemporaryDir folder;
    for (const char* name : {"README", "card.vlrn", "photo.jpg"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog(nullptr, "Open", folder.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    SetDesignFileTypes(dialog);
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), "All files (*.*)");
    EXPECT_EQ(types->itemText(1), "Velloran files (*.vlrn)");
    EXPECT_EQ(types->currentIndex(), 1);
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    auto listed = [&] {
        return QDir(folder.path()).entryList(model->nameFilters(), QDir::Files, QDir::Name);
    };
    EXPECT_EQ(listed(), QStringList{"card.vlrn"});
    dialog.selectNameFilter(dialog.nameFilters().at(0));
    EXPECT_EQ(listed(), (QStringList{"README", "card.vlrn", "photo.jpg"}));
}

TEST_F(FileCommandsTest, ExitWithTwoModifiedDesignsAsksOnce) {
    commands->New();
    Active()->AddLine(false);
    commands->New();
    Active()->AddLine(false);
    prompt.answers = {PromptAnswer::Yes};
    dialogs.answers = {QString()};   // the first Save As is cancelled
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(WindowCount(), 2u);
    EXPECT_EQ(std::count(prompt.asked.begin(), prompt.asked.end(), std::string(kCloseAllQuestion)), 1);
    EXPECT_EQ(dialogs.proposals.size(), 1u);
    EXPECT_TRUE(dialogs.proposals[0].startsWith("Untitled "));

    // Answering Yes and saving both ends the program without asking again per window.
    prompt.asked.clear();
    prompt.answers = {PromptAnswer::Yes};
    dialogs.answers = {PathOf("one.vlrn"), PathOf("two.vlrn")};
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_TRUE(QFile::exists(PathOf("one.vlrn")));
    EXPECT_TRUE(QFile::exists(PathOf("two.vlrn")));
}

TEST_F(FileCommandsTest, AFailedSaveSaysWhyAndLosesNothing) {
    // A file whose folder takes no new files: a read-only folder, or, for the superuser whom
    // permissions do not stop, a file of the kernel's read-only folder.
    QString target;
    QByteArray before;
    if (::geteuid() == 0) {
        target = "/proc/version";
    } else {
        QDir(folder.path()).mkdir("locked");
        target = PathOf("locked/card.vlrn");
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("previous");
        file.close();
        QFile::setPermissions(PathOf("locked"), QFile::ReadOwner | QFile::ExeOwner);
    }
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        before = file.readAll();
    }
    commands->New();
    FakeDesign* design = Active();
    design->SetFileName(target);
    design->AddLine(false);
    dialogs.answers = {QString()};   // the offered Save As is cancelled
    commands->Save();
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_NE(prompt.asked.front().find("could not be saved"), std::string::npos);
    EXPECT_TRUE(IsModified(design->items()));
    EXPECT_EQ(design->fileName(), target);
    EXPECT_TRUE(form->params().state.reopen[0].empty());
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    if (::geteuid() != 0) {
        QFile::setPermissions(PathOf("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST_F(FileCommandsTest, ASaveAsThatCannotWriteSaysWhyAndLosesNothing) {
    commands->New();
    FakeDesign* design = Active();
    dialogs.answers = {PathOf("card.vlrn")};
    ASSERT_TRUE(commands->SaveDocumentAs(design));
    design->AddLine(false);
    ASSERT_TRUE(IsModified(design->items()));
    const reopenarr_t recentBefore = form->params().state.reopen;
    const QString captionBefore = design->caption();

    // A plain file used as if it were a folder: nothing can be made under it, not even by the
    // superuser, whom folder permissions do not stop.
    QFile plain(PathOf("afile"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("not a folder");
    plain.close();
    const QString target = PathOf("afile/out.vlrn");
    dialogs.answers = {target};
    prompt.asked.clear();
    commands->SaveAs();

    ASSERT_EQ(prompt.asked.size(), 1u);   // said once
    EXPECT_NE(prompt.asked[0].find("could not be saved"), std::string::npos);
    EXPECT_NE(prompt.asked[0].find(target.toStdString()), std::string::npos);
    EXPECT_EQ(form->StatusLine().Message(), "Not saved " + target);
    EXPECT_EQ(design->fileName(), PathOf("card.vlrn"));
    EXPECT_EQ(design->caption(), captionBefore);
    EXPECT_EQ(form->params().state.reopen, recentBefore);
    EXPECT_EQ(form->Action("File/Reopen/1")->text(), "card");
    EXPECT_TRUE(IsModified(design->items()));
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(FileCommandsTest, ReplacingAskedAndRecentMissingFilesReported) {
    QFile::copy(VLR_SAMPLE_DESIGN, PathOf("taken.vlrn"));
    commands->New();
    dialogs.answers = {PathOf("taken.vlrn")};
    prompt.answers = {PromptAnswer::No};
    EXPECT_FALSE(commands->SaveDocumentAs(Active()));
    EXPECT_EQ(prompt.asked.back(), std::string(kReplaceQuestion) + "\n" + PathOf("taken.vlrn").toStdString());
    EXPECT_TRUE(Active()->fileName().isEmpty());

    form->params().state.reopen[0] = PathOf("gone.vlrn").toStdString();
    commands->ReopenRecent(1);
    EXPECT_EQ(prompt.asked.back(), std::string(kCannotFindFile) + "\n" + PathOf("gone.vlrn").toStdString());
    EXPECT_EQ(form->params().state.reopen[0], PathOf("gone.vlrn").toStdString());

    prompt.answers = {PromptAnswer::Yes};
    commands->ClearRecentList();
    EXPECT_TRUE(form->params().state.reopen[0].empty());
    EXPECT_FALSE(form->Menu("File/Reopen")->isEnabled());
}

} // namespace
} // namespace vlr

namespace vlr {
namespace {

// A one-item design the user saved (or opened) a moment ago is a named file, not a window free
// to take the next file: both stay open.
TEST_F(FileCommandsTest, OpeningASecondFileKeepsANamedSmallFirstOne) {
    QFile::copy(VLR_SAMPLE_DESIGN, PathOf("sample.vlrn"));
    for (bool reopenIt : {false, true}) {
        for (DesignView* window : form->OpenDesigns()) {
            form->CloseDesignWithoutQuestion(window);
        }
        QTest::qWait(0);
        commands->New();
        Active()->AddLine(false);
        dialogs.answers = {PathOf("one.vlrn")};
        prompt.answers = {PromptAnswer::Yes};   // replace it the second time round
        ASSERT_TRUE(commands->SaveDocumentAs(Active()));
        if (reopenIt) {
            form->CloseDesignWithoutQuestion(Active());
            QTest::qWait(0);
            commands->OpenDocument(PathOf("one.vlrn"));
        }
        ASSERT_TRUE(IsUntouchedDesign(Active()->items())) << "small and unmodified";
        const size_t before = WindowCount();
        commands->OpenDocument(PathOf("sample.vlrn"));
        EXPECT_EQ(WindowCount(), before + 1) << reopenIt;
        EXPECT_EQ(Active()->caption(), "sample");
        bool firstStillOpen = false;
        for (DesignView* window : form->OpenDesigns()) {
            firstStillOpen = firstStillOpen || window->fileName() == PathOf("one.vlrn");
        }
        EXPECT_TRUE(firstStillOpen) << reopenIt;
    }
}

TEST_F(FileCommandsTest, AFileFromTheDesktopCountsAsOpenedAndAMissingOneIsReported) {
    QFile::copy(VLR_SAMPLE_DESIGN, PathOf("sample.vlrn"));
    commands->OpenFromDesktop(PathOf("sample.vlrn"));
    EXPECT_EQ(Active()->caption(), "sample");
    EXPECT_EQ(form->params().state.reopen[0], PathOf("sample.vlrn").toStdString());
    EXPECT_EQ(form->Action("File/Reopen/1")->toolTip(), PathOf("sample.vlrn"));

    const size_t before = WindowCount();
    prompt.asked.clear();
    commands->OpenFromDesktop(PathOf("gone.vlrn"));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0], std::string(kCannotFindFile) + "\n" + PathOf("gone.vlrn").toStdString());
    EXPECT_EQ(WindowCount(), before);
    EXPECT_EQ(form->params().state.reopen[1], std::string());   // nothing else was added
}

TEST_F(FileCommandsTest, AnUnsavedChangeMarksTheDocumentWindowAndSavingClearsItAndSaysSo) {
    commands->New();
    Active()->AddLine(false);
    form->RefreshUndoCommands(Active()->items());
    QMdiSubWindow* window = form->DocumentArea()->subWindowList().front();
    EXPECT_TRUE(window->isWindowModified());
    // The mark is the document window's alone; the window carries the program's icon.
    EXPECT_TRUE(window->windowTitle().endsWith("[*]"));
    EXPECT_FALSE(form->Menu("Window")->actions().front()->text().contains('*'));
    EXPECT_EQ(form->windowTitle(), "Velloran Business Cards");
    EXPECT_FALSE(window->windowIcon().isNull());
    dialogs.answers = {PathOf("marked.vlrn")};
    ASSERT_TRUE(commands->SaveDocument(Active(), false));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(form->StatusLine().Message(), "Saved " + PathOf("marked.vlrn"));
    // Saved again under its name: the mark goes as well.
    Active()->AddLine(false);
    form->RefreshUndoCommands(Active()->items());
    EXPECT_TRUE(window->isWindowModified());
    ASSERT_TRUE(commands->SaveDocument(Active(), false));
    EXPECT_FALSE(window->isWindowModified());
}

} // namespace
} // namespace vlr
