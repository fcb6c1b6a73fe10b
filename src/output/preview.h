// The print preview page: the composed sheet reduced to its physical size on the screen, from
// which the user can print. The smooth export writes the same picture.
#pragma once

#include "output/composesheet.h"
#include "output/outputdocument.h"
#include "panels/dialogpage.h"

#include <QImage>
#include <QTimer>

class QCheckBox;
class QLabel;

namespace vlr {

class SheetView;
class TPictureButton;

// The preview's picture of a design: its sheet composed at the preview's resolution with the
// selection, reduced to the display size.
SheetPicture ComposePreview(ItemList& design, std::string_view selection, const ItemPainter& paint = {},
                            double deviceScale = 1.0);

class TPreview : public DialogPage {
    Q_OBJECT
public:
    // The preview of the document window numbered docNumber, looked up when the composition
    // starts; exportRequest: the smooth export writes the picture once it is shown.
    TPreview(int32_t docNumber, DocumentLookup lookup, bool exportRequest, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {760, 640}; }
    // The host's Print button.
    bool RunAction() override;

    int32_t docNumber() const { return docNumber_; }
    bool exportRequested() const { return exportRequest_; }
    bool isReady() const { return !image_.isNull(); }
    // The picture shown, at the display size.
    const QImage& image() const { return image_; }

    // Composes and shows the preview; Timer1 runs it once the page has been painted.
    void Prepare();
    QTimer Timer1;
    QTimer Timer2; // returns the print button to its plain look
    // The item drawing of the composition; empty for the program's own.
    ItemPainter paint;

    SheetView* View;
    QLabel* Title;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TPictureButton* PrintButton;
    TPictureButton* CalibrationButton;
    // Scales the sheet to the window instead of its physical size.
    QCheckBox* FitBox;
    // The scale the sheet shows at: 1 its physical size.
    double displayScale() const;

Q_SIGNALS:
    // The picture is shown.
    void ready();
    // The print picture button was clicked.
    void printClicked();
    // The host's Print button: print the previewed design.
    void printRequested(int32_t docNumber);
    // The printer calibration button, for the previewed design.
    void calibrationClicked(int32_t docNumber);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int32_t docNumber_;
    DocumentLookup lookup_;
    bool exportRequest_;
    QImage image_;
    QImage shown_;         // image_ at the screen's density
    double scale_ = 1.0;   // chosen with Ctrl+wheel while Fit is off
    void ShowAtScale();
    QSize ScaledSize(double scale) const;
};

} // namespace vlr
