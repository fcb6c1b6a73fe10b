// The picture editor page under the offscreen platform: loading, outlining clips with the mouse,
// the keys, the zoom scale and the side panel.
#include "pictures/pict.h"

#include "panels/linehelp.h"

#include "model/itemlist.h"
#include "model/prompt.h"
#include "pictures/clipoutline.h"
#include "pictures/pictbox.h"
#include "pictures/pictureview.h"
#include "render/picturedecode.h"
#include "render/picturefiles.h"
#include "settings/params.h"
#include "support/recordingprompt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>

#include <memory>
#include <optional>

namespace vlr {
namespace {

using test::RecordingPrompt;

class PictTest : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<TPict>(params, prompt);
        page->resize(page->PreferredClientSize());
        page->insert = [this](const PictureInsertion& handed, const PictureTarget&) { inserted = handed; };
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }
    QString WritePicture(const QString& name, const test::Bytes& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return file.fileName();
    }
    // A 200 x 150 picture shown at 100 %.
    void OpenPicture() {
        QImage image(200, 150, QImage::Format_RGB32);
        image.fill(0xFF2080C0);
        ASSERT_TRUE(page->OpenFile(WritePicture("photo.jpg", test::JpegFile(image))));
        ASSERT_DOUBLE_EQ(page->editor().editorZoom, 1.0);
    }
    QWidget* Canvas() const { return page->view()->viewport(); }

    QTemporaryDir folder;
    TParams params;
    RecordingPrompt prompt;
    std::unique_ptr<TPict> page;
    std::optional<PictureInsertion> inserted;
};

TEST_F(PictTest, AFileThatIsNoValidPictureSaysSoAndLeavesTheEditorEmpty) {
    OpenPicture();
    EXPECT_FALSE(page->OpenFile(WritePicture("broken.gif", test::Bytes(64, 7))));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0], "This is not a valid file.");
    EXPECT_FALSE(page->editor().loaded());
    page->RunAction();
    EXPECT_FALSE(inserted.has_value()); // nothing to insert
}

TEST_F(PictTest, TheInsertModeListChoosesTheOutlineToolAndItsHints) {
    OpenPicture();
    struct Case {
        int mode, tool;
        const char* hint;
    };
    for (const Case& c :
         {Case{InsertMode::Clips, EditorTool::Rectangle, "Click on the picture where you want"},
          Case{InsertMode::RoundClips, EditorTool::Round, "Click at the center of a round clip"},
          Case{InsertMode::EntireImage, EditorTool::Select, "To adjust the size of the picture"}}) {
        page->box()->modeList()->setCurrentIndex(c.mode);
        Q_EMIT page->box()->modeList()->activated(c.mode);
        EXPECT_EQ(page->view()->tool(), c.tool) << c.mode;
        EXPECT_TRUE(page->hints()->text().startsWith(c.hint)) << page->hints()->text().toStdString();
    }
    // Choosing an outline tool chooses the mode of its clips.
    QTest::mouseClick(page->toolButton(EditorTool::Round), Qt::LeftButton);
    EXPECT_EQ(page->box()->modeList()->currentIndex(), InsertMode::RoundClips);
    EXPECT_TRUE(page->hints()->text().endsWith(
        "Or, hold down the mouse button, move the mouse, and release the button."));
}

TEST_F(PictTest, SelectedClipsAreMovedErasedAndBroughtBackWithTheKeys) {
    OpenPicture();
    page->ChooseTool(EditorTool::Rectangle);
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(60, 40));
    page->ChooseTool(EditorTool::Select);
    EXPECT_FALSE(page->eraseButton()->isEnabled());

    // A press inside the clip selects it; dragging moves it.
    QTest::mousePress(Canvas(), Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_TRUE(page->eraseButton()->isEnabled());
    QTest::mouseMove(Canvas(), QPoint(40, 30));
    QTest::mouseMove(Canvas(), QPoint(50, 40));
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, QPoint(50, 40));
    const ItemRecord* moved = FirstSelected(page->editor().clips);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ((Rect{moved->x1, moved->y1, moved->x2, moved->y2}), (Rect{30, 30, 80, 60}));

    // Its corner marker resizes it.
    QTest::mousePress(Canvas(), Qt::LeftButton, {}, QPoint(80, 60));
    QTest::mouseMove(Canvas(), QPoint(90, 65));
    QTest::mouseMove(Canvas(), QPoint(100, 70));
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, QPoint(100, 70));
    const ItemRecord* resized = FirstSelected(page->editor().clips);
    EXPECT_EQ((Rect{resized->x1, resized->y1, resized->x2, resized->y2}), (Rect{30, 30, 100, 70}));

    EXPECT_TRUE(page->KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier)));
    EXPECT_TRUE(LiveOutlines(page->editor().clips).empty());
    EXPECT_EQ(page->box()->summary()->text(), "0 Rectangular clip(s)\n0 Round clip(s)");
    EXPECT_FALSE(page->KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier)));

    auto undo = QKeyEvent(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(page->KeyDown(undo));
    ASSERT_EQ(LiveOutlines(page->editor().clips).size(), 1u);
    EXPECT_EQ(LiveOutlines(page->editor().clips)[0]->x2, 100);
    EXPECT_TRUE(page->KeyDown(undo));
    EXPECT_EQ(LiveOutlines(page->editor().clips)[0]->x2, 80);
    EXPECT_TRUE(page->KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_Y, Qt::ControlModifier)));
    EXPECT_EQ(LiveOutlines(page->editor().clips)[0]->x2, 100);
    EXPECT_FALSE(page->KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier)));
}

TEST_F(PictTest, ZoomScaleButtonsAndLabelFollowEachOther) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    image.fill(0xFF000000);
    ASSERT_TRUE(page->OpenFile(WritePicture("large.jpg", test::JpegFile(image))));
    // The view is smaller than twice an eighth (500 x 375): an eighth, 12.5 %.
    ASSERT_DOUBLE_EQ(page->editor().editorZoom, 0.125);
    EXPECT_EQ(page->zoomLabel()->text(), "12%");
    EXPECT_EQ(page->zoomBar()->value(), 12);

    page->ZoomIn();
    EXPECT_DOUBLE_EQ(page->editor().editorZoom, 0.25);
    EXPECT_EQ(page->editor().decodeScale, DecodeScale::Quarter);
    EXPECT_EQ(page->zoomLabel()->text(), "25%");
    EXPECT_EQ(page->zoomBar()->value(), 25);

    page->zoomBar()->setValue(150);
    EXPECT_DOUBLE_EQ(page->editor().editorZoom, 1.5);
    EXPECT_EQ(page->editor().decodeScale, DecodeScale::Full);
    EXPECT_EQ(page->zoomLabel()->text(), "150%");
    page->ZoomOut();
    EXPECT_DOUBLE_EQ(page->editor().editorZoom, 1.25);
    EXPECT_EQ(page->zoomBar()->value(), 125);
    // The view scrolls over the picture, now larger than the view.
    EXPECT_GT(page->view()->horizontalScrollBar()->maximum(), 0);
}

// The wheel over the picture: Ctrl zooms as the zoom buttons do, a plain turn scrolls down and
// Shift+wheel sideways, by lines of a tenth of the view.
TEST_F(PictTest, TheWheelZoomsWithCtrlAndScrollsWithAndWithoutShift) {
    OpenPicture();
    auto turn = [this](QPoint delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel(QPointF(30, 30), Canvas()->mapToGlobal(QPointF(30, 30)), QPoint(), delta,
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Canvas(), &wheel);
    };
    turn({0, 240}, Qt::ControlModifier);
    TPict reference(params, prompt); // where two presses of the zoom-in button lead
    reference.resize(page->PreferredClientSize());
    reference.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&reference));
    ASSERT_TRUE(reference.OpenFile(folder.filePath("photo.jpg")));
    reference.ZoomIn();
    reference.ZoomIn();
    EXPECT_DOUBLE_EQ(page->editor().editorZoom, reference.editor().editorZoom);
    ASSERT_GT(page->editor().editorZoom, 1.0);

    while (page->view()->verticalScrollBar()->maximum() < 100 && page->editor().editorZoom < 3.0) {
        page->ZoomIn(); // until the picture is well larger than the view
    }
    QScrollBar* down = page->view()->verticalScrollBar();
    QScrollBar* across = page->view()->horizontalScrollBar();
    EXPECT_EQ(down->singleStep(), std::max(16, page->view()->viewSize().height() / 10));
    turn({0, -120}, Qt::NoModifier);
    EXPECT_EQ(down->value(),
              std::min(down->maximum(), QApplication::wheelScrollLines() * down->singleStep()));
    turn({0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(across->value(),
              std::min(across->maximum(), QApplication::wheelScrollLines() * across->singleStep()));
}

TEST_F(PictTest, EffectsOfTheSidePanelAreTheSettingsOfNewClips) {
    OpenPicture();
    TPictbox& box = *page->box();
    EXPECT_FALSE(box.colourList()->isEnabled()); // no frame yet
    Q_EMIT box.frameList()->activated(1);        // "Thin"
    EXPECT_DOUBLE_EQ(params.state.frwidth, 0.1);
    EXPECT_EQ(params.state.clframe, 1);
    EXPECT_TRUE(box.colourList()->isEnabled());
    EXPECT_TRUE(box.surfaceList()->isEnabled());
    Q_EMIT box.colourList()->activated(9); // "Red"
    EXPECT_EQ(params.state.frcolor, 0x0000FF);
    Q_EMIT box.surfaceList()->activated(1); // "Round"
    EXPECT_EQ(params.state.frplas, 127);
    Q_EMIT box.shadowList()->activated(2); // "Medium"
    EXPECT_EQ(params.state.shpict, (ShadowStyle{50, 20, 110}));
    EXPECT_EQ(params.state.clshadw, 1);

    page->RunAction();
    ASSERT_TRUE(inserted.has_value());
    EXPECT_DOUBLE_EQ(inserted->style.frameWeightMm, 0.1);
    EXPECT_EQ(inserted->style.frameColour, 0x0000FF);
    EXPECT_EQ(inserted->style.surface, 127);
    EXPECT_EQ(inserted->style.shadow, (ShadowStyle{50, 20, 110}));
    // The entire picture, as nothing was outlined in "Entire image".
    ASSERT_EQ(inserted->clips.size(), 1u);
    EXPECT_EQ(inserted->clips[0].shape, ClipShape::WholePicture);
    EXPECT_EQ(inserted->clips[0].source, (Rect{0, 0, 200, 150}));

    Q_EMIT box.frameList()->activated(0); // "None"
    EXPECT_EQ(params.state.clframe, 0);
    EXPECT_FALSE(box.colourList()->isEnabled());
    EXPECT_EQ(box.colourList()->currentIndex(), -1);
    // "Customize..." opens the weight dialog and keeps the weight.
    int customised = 0;
    box.customiseWeights = [&customised] { ++customised; };
    Q_EMIT box.frameList()->activated(7);
    EXPECT_EQ(customised, 1);
    EXPECT_EQ(box.frameList()->currentIndex(), 0);
    EXPECT_EQ(params.state.clframe, 0);
}

TEST_F(PictTest, AFinishedClipBringsItsHintPageInPlaceOfTheClipList) {
    OpenPicture();
    page->ChooseTool(EditorTool::Rectangle);
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(60, 40));
    TLinehelp* hint = page->hintPage();
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->pageCode(), 1076);
    EXPECT_TRUE(page->box()->isHidden());
    EXPECT_EQ(hint->paragraph(1)->toPlainText(), "Click where you want to start another clip.");

    // "here": the last clip is taken for moving and resizing; the page stays.
    QTest::mousePress(hint->paragraph(3)->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([this] { return FirstSelected(page->editor().clips) != nullptr; }, 2000));
    EXPECT_EQ(page->view()->tool(), EditorTool::Select);
    EXPECT_EQ(page->hintPage(), hint);

    // Ticked, the box brings the clip list back and the page is not shown for the next clip.
    QTest::mouseClick(hint->checkBox(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([this] { return page->hintPage() == nullptr; }, 2000));
    EXPECT_FALSE(page->box()->isHidden());
    EXPECT_FALSE(HintShown(params, 1076));
    page->ChooseTool(EditorTool::Rectangle);
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(80, 80));
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(120, 120));
    EXPECT_EQ(LiveOutlines(page->editor().clips).size(), 2u);
    EXPECT_EQ(page->hintPage(), nullptr);
}

} // namespace
} // namespace vlr
