// The speed page: what a document window may leave out of its painting to stay quick while the
// user re-arranges a design - pictures (shown as their outlines), shadows and 3-D effects.
// Printing, the preview and the export always draw everything.
#pragma once

#include "canvas/designview.h"
#include "panels/dialogpage.h"

#include <functional>

class QCheckBox;

namespace vlr {

class Tspeed : public DialogPage {
    Q_OBJECT
public:
    // switches: the active window's, all on when none is open.
    explicit Tspeed(const DisplaySwitches& switches, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {420, 260}; }
    // Apply: the switches go to apply.
    bool RunAction() override;

    const DisplaySwitches& switches() const { return switches_; }
    std::function<void(const DisplaySwitches& switches)> apply;

    QCheckBox* ShowPictures = nullptr;
    QCheckBox* ShowShadows = nullptr;
    QCheckBox* Show3D = nullptr;

private:
    DisplaySwitches switches_;
};

} // namespace vlr
