// The panel widgets of the panel codes.
#include "panels/panelfactory.h"

#include "panels/colorbox.h"
#include "panels/linebox.h"
#include "panels/shapebox.h"
#include "panels/textbox.h"
#include "panels/unibox.h"

namespace vlr {

bool IsLinePanelCode(int code) {
    return code == 98 || code == 99;
}

bool IsShapePanelCode(int code) {
    return (code >= 100 && code <= 112) || code == 199 || (code >= 200 && code <= 212) ||
           (code >= 297 && code <= 299);
}

bool IsTextPanelCode(int code) {
    return code >= 300 && code <= 303;
}

TStylePanel* CreateStylePanel(int code, PanelHost& host, QWidget* parent) {
    if (IsTextPanelCode(code)) {
        return new TTextbox(host, code, parent);
    }
    if (code == 401) {
        return new TColorbox(host, code, parent);
    }
    if (code == 59) {
        return new TUnibox(host, code, parent);
    }
    if (IsLinePanelCode(code)) {
        return new TLinebox(host, code, parent);
    }
    if (IsShapePanelCode(code)) {
        return new TPolybox(host, code, parent);
    }
    return nullptr;
}

} // namespace vlr
