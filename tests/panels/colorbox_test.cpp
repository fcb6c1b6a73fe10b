// The clip panel driven through its sliders, lists, buttons and links: each changes the selected
// clips as one undo step, the controls show the clips' values, the frame-dependent lists follow
// the frame, and a stored lightness survives opening the panel and releasing a slider.
#include "panels/colorbox.h"
#include "panels/unibox.h"

#include "panelhost.h"
#include "panels/picturebutton.h"

#include <QLabel>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace vlr {
namespace {

using test::Choose;
using test::FakePanelHost;

struct ClipFixture {
    FakePanelHost host;
    ItemRecord* clip = nullptr;

    ClipFixture() {
        clip = MakeClip();
        test::Select(host.list, {clip});
    }
    ItemRecord* MakeClip() {
        ItemRecord* made = test::Insert(host.list, ItemKind::Clip, 20, 20, 120, 80);
        made->scaleX = 1.0;
        made->scaleY = 1.0;
        made->hasFrame = 1;
        made->lineWeight = 0.5;
        return made;
    }
    ItemRecord* Current() const { return FirstSelected(host.list); }
};

// What a drag of the slider's knob to position ends with.
void DragAndRelease(QSlider* slider, int position) {
    slider->setSliderDown(true);
    slider->setValue(position);
    slider->setSliderDown(false);
}

void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

struct ControlRow {
    const char* name;
    std::function<void(TColorbox&)> use;
    std::function<bool(const ItemRecord&)> changed;
};

TEST(TColorbox, TheFrameShadowAndMixedWeightListsDrawTheirPreviews) {
    FakePanelHost host;
    TColorbox clip(host, 401);
    TUnibox mixed(host, 59);
    const struct {
        QWidget* panel;
        const char* list;
        EntryKind kind;
    } rows[] = {{&clip, "Frame", EntryKind::FrameWeight},
                {&clip, "Shadow", EntryKind::Shadow},
                {&mixed, "Outline Weight", EntryKind::Weight}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        TStyleCombo* list = test::ListNamed(*row.panel, row.list);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->entryKind(), row.kind);
    }
}

TEST(TColorbox, EachControlChangesTheSelectedClipsAsOneUndoStep) {
    const ControlRow rows[] = {
        // Every slider's release stores all three; half a positive lightness position.
        {"Lightness", [](TColorbox& p) { DragAndRelease(p.Sliders[TColorbox::Lightness], 301); },
         [](const ItemRecord& r) { return r.lightness == 150 && r.saturation == 0 && r.contrast == 0; }},
        {"Saturation", [](TColorbox& p) { DragAndRelease(p.Sliders[TColorbox::Saturation], -64); },
         [](const ItemRecord& r) { return r.saturation == -64 && r.lightness == 0; }},
        {"Contrast", [](TColorbox& p) { DragAndRelease(p.Sliders[TColorbox::Contrast], 100); },
         [](const ItemRecord& r) { return r.contrast == 100; }},
        {"Frame", [](TColorbox& p) { Choose(p.FrameBox, 1); }, // "Thin"
         [](const ItemRecord& r) { return r.lineWeight == 0.1 && r.hasFrame == 1; }},
        {"Frame None", [](TColorbox& p) { Choose(p.FrameBox, 0); },
         [](const ItemRecord& r) { return r.lineWeight == 0.0 && r.hasFrame == 0; }},
        {"Frame Color", [](TColorbox& p) { Choose(p.ColorBox, 9); }, // "Red"
         [](const ItemRecord& r) { return r.color == 0x0000FF; }},
        {"Shadow", [](TColorbox& p) { Choose(p.ShadowBox, 1); },
         [](const ItemRecord& r) {
             return r.shadowElevation == 30 && r.shadowFade == 10 && r.shadowLightness == 100;
         }},
        {"Frame 3-D", [](TColorbox& p) { Choose(p.SurfaceBox, 1); },
         [](const ItemRecord& r) { return r.surface == 127; }},
        {"Mirror", [](TColorbox& p) { Click(p.Buttons[0]); },
         [](const ItemRecord& r) { return r.scaleX == -1.0; }},
        {"Flip", [](TColorbox& p) { Click(p.Buttons[1]); },
         [](const ItemRecord& r) { return r.scaleY == -1.0; }},
        {"Rotate", [](TColorbox& p) { Click(p.Buttons[2]); },
         [](const ItemRecord& r) { return std::abs(std::abs(std::sin(double(r.rotation))) - 1.0) < 1e-9; }},
    };
    for (const ControlRow& row : rows) {
        SCOPED_TRACE(row.name);
        ClipFixture f;
        ItemRecord* other = f.MakeClip();
        f.clip->selected = 255;
        other->selected = 255;
        TColorbox panel(f.host);
        row.use(panel);
        EXPECT_EQ(f.host.window.edits, 1);
        const std::vector<ItemRecord*> changed = test::Selection(f.host.list);
        ASSERT_EQ(changed.size(), 2u);
        for (const ItemRecord* clip : changed) {
            EXPECT_NE(clip, f.clip);
            EXPECT_TRUE(row.changed(*clip));
        }
        UndoCommand(f.host.list, f.host.window);
        for (const ItemRecord* clip : {f.clip, other}) {
            EXPECT_TRUE(IsLiveItem(clip));
            EXPECT_FALSE(row.changed(*clip));
        }
        EXPECT_EQ(f.host.recordedChanges, 0); // the clip panel keeps no history
    }
}

TEST(TColorbox, TheControlsShowTheClipsValues) {
    ClipFixture f;
    f.clip->saturation = 20;
    f.clip->contrast = -30;
    f.clip->lightness = 100;
    f.clip->lineWeight = 1.0;
    f.clip->color = 0x0000FF;
    f.clip->surface = 127;
    f.clip->clipShape = 2;
    TColorbox panel(f.host);
    EXPECT_EQ(panel.Sliders[TColorbox::Saturation]->value(), 20);
    EXPECT_EQ(panel.Sliders[TColorbox::Contrast]->value(), -30);
    EXPECT_EQ(panel.Sliders[TColorbox::Lightness]->value(), 200);
    EXPECT_EQ(panel.SliderCaptions[TColorbox::Contrast]->text(), "-23%");
    EXPECT_EQ(panel.SliderCaptions[TColorbox::Lightness]->text(), "39%");
    EXPECT_EQ(panel.FrameBox->currentText(), "Thick");
    EXPECT_EQ(panel.ColorBox->currentText(), "Red");
    EXPECT_EQ(panel.SurfaceBox->currentText(), "Round");
    EXPECT_EQ(panel.BoundaryButton->text(), "Round clip");

    // "None" greys Frame Color and Frame 3-D and clears their entries; a width brings them back.
    Choose(panel.FrameBox, 0);
    EXPECT_FALSE(panel.ColorBox->isEnabled());
    EXPECT_FALSE(panel.SurfaceBox->isEnabled());
    EXPECT_EQ(panel.ColorBox->currentIndex(), -1);
    EXPECT_EQ(panel.SurfaceBox->currentIndex(), -1);
    Choose(panel.FrameBox, 3);
    EXPECT_TRUE(panel.ColorBox->isEnabled());
    EXPECT_EQ(panel.ColorBox->currentText(), "Red");
    EXPECT_EQ(panel.SurfaceBox->currentText(), "Round");
}

TEST(TColorbox, MixedValuesLeaveTheirSliderWhereItStood) {
    ClipFixture f;
    ItemRecord* other = f.MakeClip();
    f.clip->saturation = 20;
    other->saturation = 40;
    f.clip->lightness = other->lightness = 10;
    test::Select(f.host.list, {f.clip, other});
    TColorbox panel(f.host);
    EXPECT_EQ(panel.Sliders[TColorbox::Saturation]->value(), 0);
    EXPECT_EQ(panel.Sliders[TColorbox::Lightness]->value(), 20);
    DragAndRelease(panel.Sliders[TColorbox::Contrast], 64);
    for (const ItemRecord* clip : test::Selection(f.host.list)) {
        EXPECT_EQ(clip->saturation, 0);
        EXPECT_EQ(clip->contrast, 64);
        EXPECT_EQ(clip->lightness, 10);
    }
}

TEST(TColorbox, AStoredLightnessSurvivesOpeningAndReleasingTenTimes) {
    // A positive lightness up to the slider's half, zero and negative ones.
    for (int32_t lightness : {1, 2, 77, 128, 255, 256, 0, -1, -128}) {
        SCOPED_TRACE(lightness);
        ClipFixture f;
        f.clip->lightness = lightness;
        for (int cycle = 0; cycle < 10; ++cycle) {
            TColorbox panel(f.host);
            QSlider* saturation = panel.Sliders[TColorbox::Saturation];
            DragAndRelease(saturation, saturation->value());
        }
        EXPECT_EQ(f.Current()->lightness, lightness);
    }
}

TEST(TColorbox, SliderCaptionsAndLightnessPositions) {
    const struct {
        int position;
        const char* caption;
        int32_t lightness;
    } rows[] = {{0, "Normal", 0},  {-128, "-100%", -128}, {-64, "-50%", -64}, {512, "100%", 256},
                {256, "50%", 128}, {301, "59%", 150},     {1, "0%", 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(ClipSliderText(row.position), row.caption) << row.position;
        EXPECT_EQ(LightnessOfPosition(row.position), row.lightness) << row.position;
    }
    EXPECT_EQ(LightnessPosition(300), 512); // capped at the slider's end
    EXPECT_EQ(LightnessPosition(-500), -128);
}

TEST(TColorbox, LinksAndTheBoundaryButtonOpenThePictureEditorPages) {
    ClipFixture f;
    f.host.settings.clipPanelTab = 2;
    TColorbox panel(f.host);
    EXPECT_EQ(panel.tab(), 2);
    Click(panel.BoundaryButton);
    panel.LinkClick(kNewClipPage);
    EXPECT_EQ(f.host.clipPages, (std::vector<int>{kEditClipPage, kNewClipPage}));
    ASSERT_EQ(panel.HintLines().size(), 4);
    EXPECT_TRUE(panel.HintLines()[2].contains("Insert new clip"));
    panel.SetTab(1);
    EXPECT_EQ(f.host.settings.clipPanelTab, 1);
    EXPECT_TRUE(panel.HintLines()[0].contains("saturation"));
}

TEST(TColorbox, TheClipButtonRestsAgainWithTheTransformButtons) {
    ClipFixture f;
    TColorbox panel(f.host);
    const struct {
        const char* name;
        std::function<void()> moveOn;
    } rows[] = {
        {"the pointer leaves it", [&] { test::PointerLeaves(panel.BoundaryButton); }},
        {"the pointer comes onto Mirror", [&] { test::PointerEnters(panel.Buttons[0]); }},
        {"the pointer rests until the hover timer ends",
         [&] {
             ASSERT_TRUE(panel.HoverTimer()->isActive());
             panel.HoverTimer()->start(1);
             EXPECT_TRUE(QTest::qWaitFor([&] { return !panel.HoverTimer()->isActive(); }, 2000));
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::PointerEnters(panel.BoundaryButton);
        ASSERT_EQ(panel.BoundaryButton->look(), ButtonLook::Highlighted);
        row.moveOn();
        EXPECT_EQ(panel.BoundaryButton->look(), ButtonLook::Plain);
    }
}

} // namespace
} // namespace vlr
