// The program's picture buttons: drawn as vectors, so they stay crisp at any screen scale, in
// one style with four looks — plain, highlighted (the pointer is over it), pressed (a toggle
// that is on) and grey (not available).
#pragma once

#include "panels/glyphs.h"

#include <QString>
#include <QWidget>

class QPainter;

namespace vlr {

enum class ButtonStyle {
    Action,     // the dialog hosts' left button
    Cancel,     // the dialog hosts' right button
    Suggestion, // a row of the what-next box
    Back,       // the history's back arrow
    Forward,    // the history's forward arrow
    Tool,       // a toolbar button
    Row,        // a row of the Insert panel: a picture and a name, flat until pointed at
};

enum class ButtonLook { Plain, Highlighted, Pressed, Grey };

// Paints a button into rect.
void PaintPictureButton(QPainter& painter, const QRectF& rect, const QString& text, ButtonStyle style,
                        ButtonLook look, Glyph glyph = Glyph::None);

class TPictureButton : public QWidget {
    Q_OBJECT
public:
    TPictureButton(const QString& text, ButtonStyle style, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }
    // The picture drawn on the button: alone on a toolbar button, in front of the text on a row.
    void setGlyph(Glyph glyph);
    Glyph glyph() const { return glyph_; }
    void setLook(ButtonLook look);
    ButtonLook look() const { return look_; }
    // A grey button ignores the pointer and clicks.
    void setGrey(bool grey);

    QSize sizeHint() const override;
    // A tool button with a caption is never narrower than its caption: a narrow panel grows
    // rather than cut the word.
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The pointer came onto the button (it shows its highlight).
    void pointed();
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString text_;
    ButtonStyle style_;
    Glyph glyph_ = Glyph::None;
    ButtonLook look_ = ButtonLook::Plain;
    bool pressedInside_ = false;
};

} // namespace vlr
