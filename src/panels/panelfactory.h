// Which side panel widget a panel code shows: the line panel for 98 and 99, the shape panel for
// the shape codes, the text panel for 300 ... 303, the clip panel for 401 and the
// multiple-selection panel for 59. The main window asks here when it switches panels.
#pragma once

class QWidget;

namespace vlr {

class PanelHost;
class TStylePanel;

bool IsLinePanelCode(int code);
// 100 ... 112 and 199 (insertion), 200 ... 212 and 297 ... 299 (fine-tuning).
bool IsShapePanelCode(int code);
// 300, 302 and 303 (insertion), 301 (fine-tuning).
bool IsTextPanelCode(int code);
// A new panel for the code; none for codes whose panels are made elsewhere.
TStylePanel* CreateStylePanel(int code, PanelHost& host, QWidget* parent);

} // namespace vlr
