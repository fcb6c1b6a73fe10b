// The panel widgets of the panel codes.
#include "panels/panelfactory.h"

#include "panels/linebox.h"
#include "panels/shapebox.h"

namespace vlr {

bool IsLinePanelCode(int code) {
    return code == 98 || code == 99;
}

bool IsShapePanelCode(int code) {
    return (code >= 100 && code <= 112) || code == 199 || (code >= 200 && code <= 212) ||
           (code >= 297 && code <= 299);
}

TStylePanel* CreateStylePanel(int code, PanelHost& host, QWidget* parent) {
    if (IsLinePanelCode(code)) {
        return new TLinebox(host, code, parent);
    }
    if (IsShapePanelCode(code)) {
        return new TPolybox(host, code, parent);
    }
    return nullptr;
}

} // namespace vlr
