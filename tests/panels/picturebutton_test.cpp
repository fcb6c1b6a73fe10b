// The program's picture buttons: four looks of one style, drawn as vectors, and the pointer and
// clicks they answer.
#include "panels/picturebutton.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <array>

namespace vlr {
namespace {

constexpr std::array kStyles = {ButtonStyle::Action, ButtonStyle::Cancel,  ButtonStyle::Suggestion,
                                ButtonStyle::Back,   ButtonStyle::Forward, ButtonStyle::Tool};
constexpr std::array kLooks = {ButtonLook::Plain, ButtonLook::Highlighted, ButtonLook::Pressed, ButtonLook::Grey};

// The button painted into a raster of width x height logical pixels at the given screen scale.
QImage Painted(ButtonStyle style, ButtonLook look, int width, int height, double scale = 1.0) {
    QImage image(int(width * scale), int(height * scale), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPictureButton(painter, QRectF(0, 0, width, height), "Apply", style, look);
    painter.end();
    return image;
}

TEST(PictureButton, EveryStyleHasFourDifferentLooks) {
    for (ButtonStyle style : kStyles) {
        for (size_t a = 0; a < kLooks.size(); ++a) {
            const QImage first = Painted(style, kLooks[a], 118, 20);
            QImage blank(first.size(), first.format());
            blank.fill(Qt::white);
            EXPECT_NE(first, blank) << int(style) << ": look " << a;
            for (size_t b = a + 1; b < kLooks.size(); ++b) {
                EXPECT_NE(first, Painted(style, kLooks[b], 118, 20))
                    << int(style) << ": looks " << a << " and " << b;
            }
        }
    }
}

// On a screen of twice the density the button is drawn again at that density, not enlarged
// from its picture at single density: edges stay one device pixel soft.
TEST(PictureButton, AtTwiceTheDensityTheEdgesAreDrawnNotEnlarged) {
    for (ButtonStyle style : {ButtonStyle::Action, ButtonStyle::Back}) {
        const QImage single = Painted(style, ButtonLook::Plain, 60, 20);
        const QImage doubled = Painted(style, ButtonLook::Plain, 60, 20, 2.0);
        ASSERT_EQ(doubled.size(), QSize(120, 40));
        const QImage enlarged = single.scaled(120, 40, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_NE(doubled, enlarged);
        // Across the middle row, count the device pixels on the way from the white outside to the
        // button's body: a drawn edge takes at most two, an enlarged one about twice as many as
        // at single density.
        auto softPixels = [](const QImage& image) {
            const int y = image.height() / 2;
            const QRgb outside = image.pixel(0, y);
            int x = 0;
            while (x < image.width() && image.pixel(x, y) == outside) {
                ++x;
            }
            const int start = x;
            while (x + 1 < image.width() && image.pixel(x, y) != image.pixel(x + 1, y)) {
                ++x;
            }
            return x - start;
        };
        EXPECT_LE(softPixels(doubled), 3) << int(style);
        EXPECT_LT(softPixels(doubled), softPixels(enlarged)) << int(style);
    }
}

TEST(PictureButton, ThePointerHighlightsAndAClickInsideIsReportedOnce) {
    TPictureButton button("Apply", ButtonStyle::Action);
    button.resize(button.sizeHint());
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QSignalSpy pointed(&button, &TPictureButton::pointed);
    QSignalSpy clicked(&button, &TPictureButton::clicked);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_EQ(button.look(), ButtonLook::Highlighted);
    EXPECT_EQ(pointed.count(), 1);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
    // Pressed inside, let go outside: no click.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(500, 10));
    EXPECT_EQ(clicked.count(), 1);

    button.setGrey(true);
    QCoreApplication::sendEvent(&button, &enter);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.look(), ButtonLook::Grey);
    EXPECT_EQ(pointed.count(), 1);
    EXPECT_EQ(clicked.count(), 1);
}

} // namespace
} // namespace vlr
