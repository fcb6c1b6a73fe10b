// Picture insertion through the program: Insert > Picture with its Open dialog, the editor in
// the larger host, the keys, what Insert places in the document windows, the clip pages 503 and
// 510, design files chosen in the dialog and pictures dropped on the main window.
#include "app/picturecommands.h"

#include "app/filecommands.h"
#include "app/filedrops.h"
#include "canvas/sandbox.h"
#include "mainwindowfixture.h"
#include "model/designfile.h"
#include "model/history.h"
#include "model/itemlist.h"
#include "pictures/clipoutline.h"
#include "pictures/pictbox.h"
#include "pictures/pictureview.h"
#include "render/picturedecode.h"
#include "render/picturefiles.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>

#include <deque>

namespace vlr::test {
namespace {

class ScriptedPictureDialogs : public PictureDialogs {
public:
    QString OpenPictureName(const QString& folder, const QString& lastName, int filter) override {
        asked.push_back({folder, lastName, filter});
        QString answer = answers.empty() ? QString() : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    struct Asked {
        QString folder, lastName;
        int filter;
    };
    std::deque<QString> answers;
    std::vector<Asked> asked;
};

class SaveAsDialogs : public FileDialogs {
public:
    QString OpenFileName(const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return saveAs; }
    QString saveAs;
};

class PictureCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        files = std::make_unique<FileCommands>(
            *form, prompt, fileDialogs, [this] { return new TSandbox(form->params(), *form, prompt); });
        files->Install();
        pictures = std::make_unique<PictureCommands>(*form, *formX, *formY, prompt, dialogs);
        pictures->Install();
    }
    void TearDown() override {
        formX->hide();
        form->hooks = MainWindowHooks{};
        pictures.reset();
        files.reset();
        MainWindowFixture::TearDown();
    }
    QString Write(const QString& name, const Bytes& bytes) {
        QFile file(pictureFolder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return file.fileName();
    }
    // A 300 x 200 JPEG.
    QString Photo(const QString& name = "photo.jpg") {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(0xFF40A0E0);
        return Write(name, JpegFile(image));
    }
    // The editor page, once it has loaded its picture.
    TPict* LoadedEditor() {
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return pictures->Editor() && pictures->Editor()->editor().loaded(); }));
        return pictures->Editor();
    }
    static std::vector<ItemRecord*> Clips(const ItemList& design) {
        std::vector<ItemRecord*> clips;
        for (ItemRecord* record : design) {
            if (record->kind == ItemKind::Clip && IsLiveItem(record)) {
                clips.push_back(record);
            }
        }
        return clips;
    }
    static int PictureRecords(const ItemList& design) {
        int count = 0;
        for (const ItemRecord* record : design) {
            count += record->kind == ItemKind::PictureData ? 1 : 0;
        }
        return count;
    }
    // A design with a clip of the photo, selected.
    DesignView* DesignWithClip() {
        dialogs.answers = {Photo()};
        form->RunCommand(400);
        EXPECT_NE(LoadedEditor(), nullptr);
        formX->LeftButtonClick(); // the entire picture at 100 %
        DesignView* design = form->ActiveDesign();
        EXPECT_NE(design, nullptr);
        return design;
    }

    QTemporaryDir pictureFolder;
    ScriptedPictureDialogs dialogs;
    SaveAsDialogs fileDialogs;
    std::unique_ptr<FileCommands> files;
    std::unique_ptr<PictureCommands> pictures;
};

TEST_F(PictureCommandsTest, OpenOutlineTwoClipsInsertSaveAndReopen) {
    const QString photo = Photo();
    dialogs.answers = {photo};
    form->Action("Insert/Picture")->trigger();
    TPict* editor = LoadedEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(formX->isVisible());
    EXPECT_EQ(formX->windowTitle(), "photo");
    ASSERT_DOUBLE_EQ(editor->editor().editorZoom, 1.0);

    formX->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(formX.get()));
    // Two clips with the mouse: a rectangle by dragging, a circle by two clicks.
    QWidget* canvas = editor->view()->viewport();
    QTest::mouseClick(editor->toolButton(EditorTool::Rectangle), Qt::LeftButton);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::mouseMove(canvas, QPoint(60, 50));
    QTest::mouseMove(canvas, QPoint(110, 80));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(110, 80));
    QTest::mouseClick(editor->toolButton(EditorTool::Round), Qt::LeftButton);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseMove(canvas, QPoint(220, 100));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(230, 100));
    // A third, started and dropped with Esc.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(editor->view()->outlining());
    QTest::keyClick(editor->view(), Qt::Key_Escape);
    EXPECT_FALSE(editor->view()->outlining());
    ASSERT_EQ(LiveOutlines(editor->editor().clips).size(), 2u);
    EXPECT_EQ(editor->box()->summary()->text(), "1 Rectangular clip(s)\n1 Round clip(s)");

    // The Return that chooses an entry of an open list reaches the list's window once the list
    // has closed: it inserts nothing.
    QComboBox* frames = editor->box()->frameList();
    frames->showPopup();
    QWindow* list = frames->view()->window()->windowHandle();
    ASSERT_NE(list, nullptr);
    frames->hidePopup();
    QKeyEvent chosen(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &chosen);
    ASSERT_TRUE(formX->isVisible());
    // Return in the editor's host is its first button: Insert.
    QTest::keyClick(formX.get(), Qt::Key_Return);
    EXPECT_FALSE(formX->isVisible());

    // No design was open: one was made for the clips.
    DesignView* design = form->ActiveDesign();
    ASSERT_NE(design, nullptr);
    std::vector<ItemRecord*> clips = Clips(design->items());
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ(PictureRecords(design->items()), 1);
    EXPECT_EQ(clips[0]->pictureId, clips[1]->pictureId);
    EXPECT_TRUE(IsSelected(clips[0]) && IsSelected(clips[1]));
    EXPECT_EQ(form->currentPanel(), 1077); // the hint page after placing pictures
    EXPECT_EQ(form->params().lastPicture, QFileInfo(photo).absoluteFilePath().toStdString());

    fileDialogs.saveAs = pictureFolder.filePath("card.vlrn");
    ASSERT_TRUE(files->SaveDocumentAs(design));
    files->OpenDocument(fileDialogs.saveAs);
    DesignView* reopened = form->ActiveDesign();
    ASSERT_NE(reopened, design);
    clips = Clips(reopened->items());
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ(PictureRecords(reopened->items()), 1);
    EXPECT_EQ(clips[0]->pictureId, clips[1]->pictureId);
    EXPECT_EQ(clips[0]->clipShape, ClipShape::Rectangle);
    EXPECT_EQ((Rect{clips[0]->srcLeft, clips[0]->srcTop, clips[0]->srcRight, clips[0]->srcBottom}),
              (Rect{10, 20, 110, 80}));
    EXPECT_EQ((Rect{clips[0]->x1, clips[0]->y1, clips[0]->x2, clips[0]->y2}), (Rect{0, 0, 100, 60}));
    EXPECT_EQ(clips[1]->clipShape, ClipShape::Round);
    EXPECT_EQ((Rect{clips[1]->srcLeft, clips[1]->srcTop, clips[1]->srcRight, clips[1]->srcBottom}),
              (Rect{200, 100, 230, 100}));
    const ItemRecord* data = FindPictureData(reopened->items(), clips[0]->pictureId);
    ASSERT_NE(data, nullptr);
    QFile original(photo);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    EXPECT_EQ(data->pictureStream, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

TEST_F(PictureCommandsTest, TheOpenDialogStartsWhereTheLastPictureWasChosen) {
    const QString gif = Write(
        "Logo.GIF", GifFile({4, 4, 0, 0, std::vector(4, std::vector<uint8_t>(4, 1)), {0x000000, 0xFF0000}}));
    dialogs.answers = {gif};
    pictures->InsertPicture();
    ASSERT_NE(LoadedEditor(), nullptr);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].filter, 1);
    formX->RightButtonClick();

    pictures->InsertPicture(); // cancelled
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(QDir(dialogs.asked[1].folder), QDir(pictureFolder.path()));
    EXPECT_EQ(dialogs.asked[1].lastName, QFileInfo(gif).absoluteFilePath());
    EXPECT_EQ(dialogs.asked[1].filter, 2); // GIF
    EXPECT_EQ(form->params().state.picndx, 2);
    EXPECT_FALSE(formX->isVisible());
    EXPECT_TRUE(form->OpenDesigns().empty()); // nothing chosen, nothing made
}

TEST_F(PictureCommandsTest, DamagedPicturesAndDesignFilesSayTheyAreNotValid) {
    dialogs.answers = {Write("broken.jpg", Bytes(100, 0xFF))};
    pictures->InsertPicture();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !prompt.asked.empty(); }));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0], "This is not a valid file.");
    ASSERT_NE(pictures->Editor(), nullptr);
    EXPECT_FALSE(pictures->Editor()->editor().loaded());
    formX->LeftButtonClick(); // Insert with nothing loaded places nothing
    EXPECT_TRUE(form->OpenDesigns().empty());

    dialogs.answers = {Write("broken.vlrn", Bytes{1, 2, 3})};
    pictures->InsertPicture();
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[1], "This is not a valid file.");
    ASSERT_EQ(form->OpenDesigns().size(), 1u); // the design it was to go into
    EXPECT_TRUE(Clips(form->ActiveDesign()->items()).empty());
}

TEST_F(PictureCommandsTest, ADesignFileChosenInTheDialogIsAddedToTheActiveDesign) {
    DesignView* source = DesignWithClip();
    ASSERT_EQ(Clips(source->items()).size(), 1u);
    const QString saved = pictureFolder.filePath("logo.vlrn");
    ASSERT_TRUE(WriteDesign(saved.toStdString(), source->items()));

    files->New();
    DesignView* target = form->ActiveDesign();
    ASSERT_NE(target, source);
    dialogs.answers = {saved};
    pictures->InsertPicture();
    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(form->params().state.picndx, 7);
    ASSERT_EQ(Clips(target->items()).size(), 1u);
    EXPECT_EQ(PictureRecords(target->items()), 1);
    EXPECT_TRUE(CanUndo(target->items()));
}

TEST_F(PictureCommandsTest, EditThisClipReplacesItsCutAsOneUndoStep) {
    DesignView* design = DesignWithClip();
    ItemRecord* clip = Clips(design->items()).at(0);
    ASSERT_EQ(clip->clipShape, ClipShape::WholePicture);

    form->RunCommand(503);
    ASSERT_TRUE(formX->isVisible());
    EXPECT_EQ(formX->currentPage(), 503);
    EXPECT_EQ(formX->windowTitle(), "photo");
    TPict* editor = pictures->Editor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->editor().loaded());
    EXPECT_TRUE(LiveOutlines(editor->editor().clips).empty()); // the whole picture has no outline
    editor->ChooseInsertMode(InsertMode::Clips);
    AddRectangleOutline(editor->editor().clips, {30, 40}, {130, 90}, 1.0, OrientedSize(editor->editor()));
    editor->Flip();
    formX->LeftButtonClick();

    std::vector<ItemRecord*> clips = Clips(design->items());
    ASSERT_EQ(clips.size(), 1u);
    ASSERT_NE(clips[0], clip);
    EXPECT_EQ(clips[0]->clipShape, ClipShape::Rectangle);
    EXPECT_EQ((Rect{clips[0]->srcLeft, clips[0]->srcTop, clips[0]->srcRight, clips[0]->srcBottom}),
              (Rect{30, 40, 130, 90}));
    EXPECT_EQ(clips[0]->mirrorY, -1);
    EXPECT_EQ(PictureRecords(design->items()), 1);

    // Opened again, the editor shows the clip's cut, selected, in its orientation.
    SelectOnly(design->items(), clips[0]);
    form->RunCommand(503);
    editor = pictures->Editor();
    ASSERT_NE(editor, nullptr);
    const ItemRecord* outline = FirstSelected(editor->editor().clips);
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ((Rect{outline->x1, outline->y1, outline->x2, outline->y2}), (Rect{30, 40, 130, 90}));
    EXPECT_EQ(editor->editor().mirrorY, -1);
    EXPECT_FALSE(CanUndo(editor->editor().clips)); // its undo starts after the clip's own cut
    formX->RightButtonClick();

    Undo(design->items());
    clips = Clips(design->items());
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0], clip);

    // Nothing selected: no page.
    SelectOnly(design->items(), nullptr);
    form->RunCommand(503);
    EXPECT_FALSE(formX->isVisible());
    // A double click on the clip selects it and opens it.
    form->EditClipPicture(design, clip);
    EXPECT_TRUE(formX->isVisible());
    EXPECT_EQ(formX->currentPage(), 503);
    EXPECT_TRUE(IsSelected(clip));
}

TEST_F(PictureCommandsTest, InsertNewClipAddsClipsOfTheSamePicture) {
    DesignView* design = DesignWithClip();
    const int32_t pictureId = Clips(design->items()).at(0)->pictureId;
    form->RunCommand(510);
    TPict* editor = pictures->Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->view()->tool(), EditorTool::Rectangle);
    AddRectangleOutline(editor->editor().clips, {0, 0}, {50, 50}, 1.0, OrientedSize(editor->editor()));
    formX->LeftButtonClick();
    const std::vector<ItemRecord*> clips = Clips(design->items());
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ(clips[1]->pictureId, pictureId);
    EXPECT_EQ(PictureRecords(design->items()), 1);
}

TEST_F(PictureCommandsTest, APictureDroppedOnTheMainWindowOpensInTheEditor) {
    // The program's own drop handling, as main() sets it up.
    auto* drops = new FileDrops(*form);
    const QString photo = Photo("dropped.jpg");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(photo)});
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    TPict* editor = LoadedEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->editor().fileName, QFileInfo(photo).absoluteFilePath().toStdString());
    EXPECT_EQ(form->params().lastPicture, QFileInfo(photo).absoluteFilePath().toStdString());
    ASSERT_EQ(form->OpenDesigns().size(), 1u); // the design it goes into
    delete drops;
}

TEST(PictureFileTypes, TheOpenDialogListsThePictureTypesInOrder) {
    QFileDialog dialog;
    SetPictureFileTypes(dialog, 4);
    const QStringList types = dialog.nameFilters();
    const char* captions[] = {"JPEG Image Files (*.jpg,*.jpeg)",
                              "GIF Image Files (*.gif)",
                              "Bitmaps (*.bmp)",
                              "Icons (*.ico)",
                              "Enhanced Metafiles (*.emf)",
                              "Metafiles (*.wmf)",
                              "Velloran Files (*.vlrn)"};
    ASSERT_EQ(types.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(types[i].startsWith(captions[i])) << types[i].toStdString();
    }
    // What the dialog shows of the chosen type: its caption alone.
    EXPECT_EQ(dialog.selectedNameFilter(), captions[3]);
    for (auto [name, type] : {std::pair{"a.jpeg", 1}, std::pair{"b.JPG", 1}, std::pair{"c.gif", 2},
                              std::pair{"d.bmp", 3}, std::pair{"e.ico", 4}, std::pair{"f.emf", 5},
                              std::pair{"g.wmf", 6}, std::pair{"h.vlrn", 7}, std::pair{"i.png", 0}}) {
        EXPECT_EQ(PictureFileType(name), type) << name;
    }
}

} // namespace
} // namespace vlr::test
