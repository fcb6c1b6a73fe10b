// The first-time setup as a user meets it: each test starts the program (built, wired, started
// as at program start) with its settings, data and configuration in fresh folders, and starts it
// again to see what the next run does.
#include "app/dialoghost.h"
#include "app/install.h"
#include "app/mainwindow.h"
#include "app/pages.h"
#include "mainwindowfixture.h"
#include "platform/fileassociation.h"
#include "platform/inistore.h"
#include "settings/designtype.h"
#include "settings/params.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace vlr {
namespace {

// A click on the box itself: the middle of a check box stretched over the page misses it.
void Click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

bool MakeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

class FirstTimeSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        integration.dataHome = folder.filePath("data");
        integration.configHome = folder.filePath("config");
        integration.programPath = VLR_PROGRAM;
        integration.xdgMime = QStandardPaths::findExecutable("xdg-mime");
        integration.updateMimeDatabase = QStandardPaths::findExecutable("update-mime-database");
        ASSERT_FALSE(integration.xdgMime.isEmpty()) << "xdg-mime (package xdg-utils) is needed";
    }
    void TearDown() override { StopProgram(); }

    // One start of the program, wired as program start wires it.
    void StartProgram() {
        StopProgram();
        store = std::make_unique<IniRegistryStore>(folder.filePath("settings"));
        form = std::make_unique<TForm1>(*store, prompt);
        formX = std::make_unique<TDialogHost>(HostKind::X, form->params(), form.get());
        formY = std::make_unique<TDialogHost>(HostKind::Y, form->params(), form.get());
        RegisterDialogPages(*formX, *formY);
        form->SetDialogHosts(formX.get(), formY.get());
        setup = std::make_unique<FirstTimeSetup>(*form, *formX, prompt, [this] {
            ++registrations;
            return RegisterAssociation(integration);
        });
        form->Timer6.setInterval(1);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->Start();
    }
    // The end of the program: the settings are written as the main window goes.
    void StopProgram() {
        setup.reset();
        formX.reset();
        formY.reset();
        form.reset();
    }
    TInstall* WaitForSetupPage() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return formX->isVisible(); }));
        EXPECT_EQ(formX->currentPage(), 60);
        return qobject_cast<TInstall*>(formX->page());
    }
    QVariant Stored(const char* name) const {
        return QSettings(store->FileOfKey(kSettingsKey), QSettings::IniFormat).value(name);
    }
    QByteArray Entry() const {
        QFile file(integration.dataHome + "/applications/velloran.desktop");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray OpenCommand() const { return ("\nExec=" + integration.programPath + " -open %f\n").toUtf8(); }

    QTemporaryDir folder;
    DesktopIntegration integration;
    test::AnsweringPrompt prompt;
    int registrations = 0;
    std::unique_ptr<IniRegistryStore> store;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TDialogHost> formX, formY;
    std::unique_ptr<FirstTimeSetup> setup;
};

TEST_F(FirstTimeSetupTest, TheFirstRunAsksForTheUnitFromTheKeyboardAndRegistersTheFileType) {
    StartProgram();
    EXPECT_FALSE(form->Timer2.isActive()); // no empty design behind the setup
    TInstall* page = WaitForSetupPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(formX->windowTitle(), "First-time Setup");
    EXPECT_EQ(formX->leftButton()->text(), "Proceed");
    EXPECT_EQ(formX->rightButton()->text(), "Cancel");
    EXPECT_FALSE(page->Millimeters()->isChecked());
    EXPECT_FALSE(page->Inches()->isChecked());
    const int32_t digitalImagesUnits = form->params().state.pagesets[DesignType::DigitalImages - 1].units;

    // Space checks the first box, which has the focus; Return proceeds.
    ASSERT_TRUE(QTest::qWaitFor([page] { return QApplication::focusWidget() == page->Millimeters(); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(page->Millimeters()->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    EXPECT_FALSE(formX->isVisible());
    EXPECT_TRUE(form->Timer2.isActive()); // the empty design follows
    const TParams& params = form->params();
    EXPECT_EQ(params.state.defaults.units, 2);
    EXPECT_DOUBLE_EQ(params.state.defaults.pxPerUnitX, params.screenDpiX() / 25.4);
    for (int type = 1; type <= kDesignTypeCount; ++type) {
        EXPECT_EQ(params.state.pagesets[type - 1].units,
                  type == DesignType::DigitalImages ? digitalImagesUnits : 2)
            << "design type " << type;
    }
    EXPECT_EQ(Stored("units").toInt(), 2);
    EXPECT_EQ(Stored(kAssociationCodeValue).toString(), "0");
    EXPECT_TRUE(Entry().contains(OpenCommand()));
    EXPECT_TRUE(QFile::exists(integration.dataHome + "/mime/packages/velloran.xml"));
    EXPECT_EQ(form->StatusText(), "");

    // The next run shows nothing, keeps millimetres and has nothing to repair.
    StartProgram();
    EXPECT_FALSE(form->Timer6.isActive());
    EXPECT_TRUE(form->Timer2.isActive());
    QTest::qWait(20);
    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(form->params().state.defaults.units, 2);
    EXPECT_EQ(form->params().state.pagesets[DesignType::BusinessCards - 1].units, 2);
    EXPECT_EQ(registrations, 1);
}

TEST_F(FirstTimeSetupTest, ProceedWithoutAUnitSaysSoAndTheBoxesBehaveAsAPair) {
    StartProgram();
    TInstall* page = WaitForSetupPage();
    ASSERT_NE(page, nullptr);
    formX->LeftButtonClick();
    EXPECT_EQ(prompt.asked, std::vector<std::string>{"Please select Millimeters or Inches"});
    EXPECT_TRUE(formX->isVisible());
    EXPECT_FALSE(Stored("units").isValid());
    EXPECT_EQ(registrations, 0);

    Click(page->Inches());
    EXPECT_TRUE(page->Inches()->isChecked());
    EXPECT_FALSE(page->Millimeters()->isChecked());
    Click(page->Inches());
    EXPECT_FALSE(page->Inches()->isChecked());
    EXPECT_TRUE(page->Millimeters()->isChecked());
}

TEST_F(FirstTimeSetupTest, AnUnwritableDataFolderGivesTheFailureCodeAndTheNextStartRegistersAgain) {
    // A regular file where the data folder should be: a read-only folder would not stop root.
    ASSERT_TRUE(MakeFile(integration.dataHome));
    StartProgram();
    TInstall* page = WaitForSetupPage();
    ASSERT_NE(page, nullptr);
    Click(page->Inches());
    formX->LeftButtonClick();

    EXPECT_TRUE(setup->completed());
    EXPECT_EQ(setup->resultCode(), 37); // the MIME database, the last of the steps that failed
    EXPECT_EQ(Stored(kAssociationCodeValue).toInt(), 37);
    EXPECT_EQ(Stored("units").toInt(), 3);
    EXPECT_EQ(form->StatusText(), kNotRegisteredText);

    // The folder can be written now: the next start registers the whole association again.
    StopProgram();
    ASSERT_TRUE(QFile::remove(integration.dataHome));
    StartProgram();
    EXPECT_EQ(registrations, 2);
    EXPECT_FALSE(form->Timer6.isActive());
    EXPECT_EQ(Stored(kAssociationCodeValue).toInt(), 0);
    EXPECT_TRUE(Entry().contains(OpenCommand()));
    EXPECT_EQ(form->StatusText(), "");

    // And the one after that has nothing left to repair.
    StartProgram();
    EXPECT_EQ(registrations, 2);
}

TEST_F(FirstTimeSetupTest, CancelEndsTheProgramAndLeavesTheSetupToTheNextStart) {
    StartProgram();
    ASSERT_NE(WaitForSetupPage(), nullptr);
    formX->RightButtonClick();
    EXPECT_FALSE(formX->isVisible());
    EXPECT_TRUE(formX->Timer3.isActive()); // ends the program
    formX->Timer3.stop();
    EXPECT_FALSE(form->Timer2.isActive());
    EXPECT_FALSE(setup->completed());
    StopProgram();
    store = std::make_unique<IniRegistryStore>(folder.filePath("settings"));
    EXPECT_TRUE(FirstTimeSetupPending(*store));
    EXPECT_EQ(registrations, 0);
}

TEST(CompleteSetup, SettingsThatCannotBeStoredGiveCode1UnlessTheRegistrationFailedLater) {
    QTemporaryDir folder;
    ASSERT_TRUE(MakeFile(folder.filePath("config")));
    IniRegistryStore store(folder.filePath("config"));
    TParams params;
    SetFactorySettings(params);
    EXPECT_EQ(CompleteSetup(2, params, store, [] { return 0; }), kUnitsNotStored);
    EXPECT_EQ(CompleteSetup(2, params, store, [] { return 33; }), 33);
    EXPECT_EQ(params.state.defaults.units, 2); // this run still uses the unit
    EXPECT_TRUE(FirstTimeSetupPending(store));
}

TEST(RepairAssociation, RunsOnlyForAStoredCodeAbove0AndStoresTheNewCode) {
    struct Case {
        const char* stored; // nullptr: no value
        bool repaired;
    };
    const Case cases[] = {{nullptr, false}, {"0", false}, {"-4", false},
                          {"abc", false},   {"37", true}, {"1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "missing");
        QTemporaryDir folder;
        IniRegistryStore store(folder.path());
        if (c.stored) {
            QSettings(store.FileOfKey(kSettingsKey), QSettings::IniFormat)
                .setValue(kAssociationCodeValue, c.stored);
        }
        int calls = 0;
        std::optional<int> code = RepairAssociation(store, [&calls] {
            ++calls;
            return 0;
        });
        EXPECT_EQ(code.has_value(), c.repaired);
        EXPECT_EQ(calls, c.repaired ? 1 : 0);
        const QVariant after =
            QSettings(store.FileOfKey(kSettingsKey), QSettings::IniFormat).value(kAssociationCodeValue);
        EXPECT_EQ(after.toString(), c.repaired ? "0" : (c.stored ? c.stored : ""));
    }
}

} // namespace
} // namespace vlr
