// The About page: the program's release and its web address on a painted background.
#pragma once

#include "panels/dialogpage.h"

#include <QImage>

namespace vlr {

inline constexpr const char* kProductWebAddress = "https://velloran.example/";

class TAbout : public DialogPage {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {420, 140}; }
    // The web address, where pointing and clicking act.
    QRect linkRect() const;
    bool linkHighlighted() const { return linkLit_; }
    // Returns the link to its plain look (the host does so when the pointer leaves its buttons).
    void ResetLink();

Q_SIGNALS:
    // The link was clicked while highlighted; the host opens the web page.
    void linkClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage background_;
    bool linkLit_ = false;
    bool clicked_ = false;
};

} // namespace vlr
