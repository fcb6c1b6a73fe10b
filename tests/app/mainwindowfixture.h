// A main window with its two dialog hosts and their pages, settings in a fresh folder and a
// prompt whose answers the test chooses.
#pragma once

#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "app/pages.h"
#include "fakedesign.h"
#include "model/prompt.h"
#include "platform/inistore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace vlr::test {

class AnsweringPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons) override {
        asked.emplace_back(text);
        return answer;
    }
    PromptAnswer answer = PromptAnswer::No;
    std::vector<std::string> asked;
};

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<IniRegistryStore>(folder.path());
        form = std::make_unique<TForm1>(*store, prompt);
        formX = std::make_unique<TDialogHost>(HostKind::X, form->params(), form.get());
        formY = std::make_unique<TDialogHost>(HostKind::Y, form->params(), form.get());
        RegisterDialogPages(*formX, *formY);
        RegisterDesignPages(*form, prompt, *formX, *formY);
        form->SetDialogHosts(formX.get(), formY.get());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->Timer2.stop();
        // The scan of the installed fonts takes a good part of a second under the sanitizers;
        // tests that need the font list start it themselves.
        form->Timer5.stop();
    }
    void TearDown() override {
        formX.reset();
        formY.reset();
        form.reset();
    }
    FakeDesign* OpenDesign(int32_t number) {
        auto* design = new FakeDesign(number, "Card " + QString::number(number));
        form->AddDesignView(design);
        return design;
    }

    QTemporaryDir folder;
    std::unique_ptr<IniRegistryStore> store;
    AnsweringPrompt prompt;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TDialogHost> formX, formY;
};

} // namespace vlr::test
