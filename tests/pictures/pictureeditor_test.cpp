// The picture editor's state: loading, the JPEG decode scale, the zoom steps and orientation.
// Pictures are written in the tests by Qt's and giflib's encoders.
#include "pictures/pictureeditor.h"

#include "render/picturedecode.h"
#include "render/picturefiles.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <fstream>

namespace vlr {
namespace {

using test::Bytes;

QImage Filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(PictureEditor, LargeJpegStartsAtAnEighthAndIsDecodedFinerOnlyWhenTheZoomNeedsIt) {
    PictureEditor editor;
    ASSERT_TRUE(LoadPicture(editor, test::JpegFile(Filled(4000, 3000, 0xFF336699)), PictureFormat::Jpeg,
                            "big.jpg", QSize(640, 480)));
    // 4000 x 3000 at an eighth is 500 x 375; 640 / 500 = 1: it stays an eighth, shown at 12.5 %.
    EXPECT_EQ(editor.decodeScale, DecodeScale::Eighth);
    EXPECT_EQ(editor.raster.size(), QSize(500, 375));
    EXPECT_EQ(editor.fullSize, QSize(4000, 3000));
    EXPECT_DOUBLE_EQ(editor.editorZoom, 0.125);

    SetEditorZoom(editor, 0.30);
    EXPECT_EQ(editor.decodeScale, DecodeScale::Quarter);
    EXPECT_EQ(editor.raster.size(), QSize(1000, 750));

    // Zooming back out keeps the finer raster: nothing is decoded.
    const qint64 quarter = editor.raster.cacheKey();
    SetEditorZoom(editor, 0.125);
    EXPECT_EQ(editor.decodeScale, DecodeScale::Quarter);
    EXPECT_EQ(editor.raster.cacheKey(), quarter);
    EXPECT_DOUBLE_EQ(editor.editorZoom, 0.125);

    SetEditorZoom(editor, 0.5);
    EXPECT_EQ(editor.raster.size(), QSize(2000, 1500));
    // The zoom stays within 1 % ... 300 %.
    SetEditorZoom(editor, 0.0);
    EXPECT_DOUBLE_EQ(editor.editorZoom, 0.01);
    SetEditorZoom(editor, 7.0);
    EXPECT_DOUBLE_EQ(editor.editorZoom, 3.0);
}

TEST(PictureEditor, InitialDecodeScaleFollowsHowOftenTheEighthFitsTheView) {
    struct Case {
        QSize view;
        int32_t scale;
    };
    // An eighth of 100 x 50 pixels; k is the smaller of the two whole ratios.
    for (const Case& c : {Case{{199, 500}, DecodeScale::Eighth}, Case{{200, 100}, DecodeScale::Quarter},
                          Case{{399, 500}, DecodeScale::Quarter}, Case{{400, 200}, DecodeScale::Half},
                          Case{{799, 399}, DecodeScale::Half}, Case{{800, 400}, DecodeScale::Full},
                          Case{{5000, 99}, DecodeScale::Eighth}, Case{{0, 0}, DecodeScale::Eighth}}) {
        EXPECT_EQ(InitialDecodeScale({100, 50}, c.view), c.scale)
            << c.view.width() << " x " << c.view.height();
    }
    EXPECT_EQ(InitialDecodeScale({0, 0}, {800, 600}), DecodeScale::Eighth);
}

TEST(PictureEditor, ZoomButtonsStepThroughTheTable) {
    struct Case {
        double percent, out, in;
    };
    for (const Case& c :
         {Case{5, 12.5, 25}, Case{24, 12.5, 25}, Case{25, 12.5, 50}, Case{30, 25, 50}, Case{50, 25, 100},
          Case{75, 50, 100}, Case{100, 50, 125}, Case{110, 100, 125}, Case{125, 100, 150},
          Case{140, 125, 150}, Case{150, 125, 175}, Case{160, 150, 175}, Case{175, 150, 200},
          Case{190, 175, 200}, Case{200, 175, 300}, Case{250, 200, 300}, Case{300, 200, 300}}) {
        EXPECT_DOUBLE_EQ(ZoomOutFrom(c.percent / 100.0), c.out / 100.0) << c.percent;
        EXPECT_DOUBLE_EQ(ZoomInFrom(c.percent / 100.0), c.in / 100.0) << c.percent;
    }
    // 12.5 % is compared as its whole percentage 12.
    EXPECT_DOUBLE_EQ(ZoomInFrom(0.125), 0.25);
    EXPECT_EQ(TrackPosition(0.125), 12);
    EXPECT_EQ(TrackPosition(0.004), 1);
}

TEST(PictureEditor, DecodeScaleNeededByAZoom) {
    for (auto [percent, scale] : {std::pair{1, DecodeScale::Eighth}, std::pair{24, DecodeScale::Eighth},
                                  std::pair{25, DecodeScale::Quarter}, std::pair{49, DecodeScale::Quarter},
                                  std::pair{50, DecodeScale::Half}, std::pair{99, DecodeScale::Half},
                                  std::pair{100, DecodeScale::Full}, std::pair{300, DecodeScale::Full}}) {
        EXPECT_EQ(DecodeScaleForPercent(percent), scale) << percent;
    }
}

// A 6 x 4 picture, red in its top-left 3 x 2 quarter and blue elsewhere; which corner of the
// shown picture is red.
enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight, None };

Corner RedCorner(const QImage& shown) {
    const int w = shown.width(), h = shown.height();
    const std::pair<Corner, QPoint> corners[] = {{Corner::TopLeft, {0, 0}},
                                                 {Corner::TopRight, {w - 1, 0}},
                                                 {Corner::BottomLeft, {0, h - 1}},
                                                 {Corner::BottomRight, {w - 1, h - 1}}};
    Corner found = Corner::None;
    for (auto [corner, at] : corners) {
        if (test::Rgb(shown, at.x(), at.y()) == 0xFF0000) {
            if (found != Corner::None) {
                return Corner::None; // two red corners: no quarter of its own
            }
            found = corner;
        }
    }
    return found;
}

TEST(PictureEditor, OrientationOfATwoColourPicture) {
    QImage quarter = Filled(6, 4, 0xFF0000FF);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            quarter.setPixel(x, y, 0xFFFF0000);
        }
    }
    // Bitmap files keep the colours exactly.
    std::vector<std::vector<uint32_t>> rows;
    for (int y = 0; y < 4; ++y) {
        rows.emplace_back();
        for (int x = 0; x < 6; ++x) {
            rows.back().push_back(quarter.pixel(x, y) & 0xFFFFFF);
        }
    }
    const Bytes file = test::BitmapFile(6, 4, 24, {}, test::DirectRows(rows, 24));

    enum Command { Mirror, Flip, Left, Right };
    struct Case {
        std::vector<Command> commands;
        int32_t mirrorX, mirrorY, turn;
        Corner red;
        QSize shown;
    };
    // A turn that adds 90 degrees turns the picture counter-clockwise on the screen; on a
    // quarter-turned picture Mirror negates the vertical sign and Flip the horizontal one, and
    // both still act as they look on the screen.
    const Case cases[] = {
        {{}, 1, 1, 0, Corner::TopLeft, {6, 4}},
        {{Mirror}, -1, 1, 0, Corner::TopRight, {6, 4}},
        {{Flip}, 1, -1, 0, Corner::BottomLeft, {6, 4}},
        {{Mirror, Flip}, -1, -1, 0, Corner::BottomRight, {6, 4}},
        {{Right}, 1, 1, 90, Corner::BottomLeft, {4, 6}},
        {{Right, Mirror}, 1, -1, 90, Corner::BottomRight, {4, 6}},
        {{Right, Flip}, -1, 1, 90, Corner::TopLeft, {4, 6}},
        {{Left}, 1, 1, 270, Corner::TopRight, {4, 6}},
        {{Right, Right}, 1, 1, 180, Corner::BottomRight, {6, 4}},
        {{Right, Right, Right, Right}, 1, 1, 0, Corner::TopLeft, {6, 4}},
        {{Left, Right}, 1, 1, 0, Corner::TopLeft, {6, 4}},
    };
    for (const Case& c : cases) {
        PictureEditor editor;
        ASSERT_TRUE(LoadPicture(editor, file, PictureFormat::Bitmap, "quarter.bmp", QSize(100, 100)));
        for (Command command : c.commands) {
            switch (command) {
            case Mirror:
                MirrorPicture(editor);
                break;
            case Flip:
                FlipPicture(editor);
                break;
            case Left:
                TurnPictureLeft(editor);
                break;
            case Right:
                TurnPictureRight(editor);
                break;
            }
        }
        const size_t step = &c - cases;
        EXPECT_EQ(editor.mirrorX, c.mirrorX) << step;
        EXPECT_EQ(editor.mirrorY, c.mirrorY) << step;
        EXPECT_EQ(editor.turn, c.turn) << step;
        EXPECT_EQ(RedCorner(editor.oriented), c.red) << step;
        EXPECT_EQ(editor.oriented.size(), c.shown) << step;
        EXPECT_EQ(OrientedSize(editor), c.shown) << step;
    }
}

TEST(PictureEditor, QuarterTurnOfAnOddSizedPictureDropsItsLastRowAndColumn) {
    PictureEditor editor;
    const Bytes gif = test::GifFile(
        {7, 5, 0, 0, std::vector<std::vector<uint8_t>>(5, std::vector<uint8_t>(7, 1)), {0x000000, 0xFFFFFF}});
    ASSERT_TRUE(LoadPicture(editor, gif, PictureFormat::Gif, "odd.gif", QSize(100, 100)));
    EXPECT_EQ(OrientedSize(editor), QSize(7, 5));
    TurnPictureRight(editor);
    EXPECT_EQ(OrientedSize(editor), QSize(4, 6));
    EXPECT_EQ(editor.oriented.size(), QSize(4, 6));
}

TEST(PictureEditor, FilesThatAreNoValidPictureLeaveTheEditorEmpty) {
    QTemporaryDir folder;
    auto write = [&folder](const QString& name, const Bytes& bytes) {
        const QString path = folder.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    };
    const Bytes good = test::JpegFile(Filled(40, 30, 0xFFFFFF00));
    Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    Bytes emf(88, 0);
    emf[0] = 1;
    emf[40] = ' ', emf[41] = 'E', emf[42] = 'M', emf[43] = 'F';
    const QString cases[] = {
        write("truncated.jpg", truncated),
        write("garbage.gif", Bytes(200, 0x55)),
        write("text.bmp", Bytes{'h', 'e', 'l', 'l', 'o'}),
        write("picture.emf", emf),
        write("picture.png", good), // an extension the editor does not read
        write("line.gif", test::GifFile({9, 1, 0, 0, {std::vector<uint8_t>(9, 0)}, {0x000000, 0xFFFFFF}})),
        folder.filePath("missing.jpg"),
    };
    for (const QString& path : cases) {
        PictureEditor editor;
        ASSERT_TRUE(LoadPictureFile(editor, write("good.jpg", good), QSize(200, 200)));
        EXPECT_FALSE(LoadPictureFile(editor, path, QSize(200, 200))) << path.toStdString();
        EXPECT_FALSE(editor.loaded());
        EXPECT_TRUE(editor.stream.empty());
        EXPECT_EQ(editor.format, 0);
    }
    // A picture beyond the decoders' limit is refused the same way, before it is decoded.
    LimitPicturePixels(1000);
    PictureEditor editor;
    EXPECT_FALSE(LoadPictureFile(editor, write("large.jpg", good), QSize(200, 200)));
    LimitPicturePixels(kMaxPicturePixels);
    EXPECT_TRUE(LoadPictureFile(editor, write("large.jpg", good), QSize(200, 200)));
    EXPECT_EQ(editor.format, PictureFormat::Jpeg);
    EXPECT_EQ(editor.fullSize, QSize(40, 30));
}

TEST(PictureEditor, FormatByExtension) {
    for (auto [path, format] :
         {std::pair{"a.jpg", PictureFormat::Jpeg}, std::pair{"/x/B.JPEG ", PictureFormat::Jpeg},
          std::pair{"c.Gif", PictureFormat::Gif}, std::pair{"d.bmp", PictureFormat::Bitmap},
          std::pair{"e.ICO", PictureFormat::Icon}, std::pair{"f.emf", PictureFormat::Metafile},
          std::pair{"g.wmf", PictureFormat::Metafile}, std::pair{"h.png", 0}, std::pair{"card.vlrn", 0},
          std::pair{"noextension", 0}}) {
        EXPECT_EQ(PictureFormatOfPath(path), format) << path;
    }
}

} // namespace
} // namespace vlr
