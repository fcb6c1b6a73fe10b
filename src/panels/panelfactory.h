// Which side panel widget a panel code shows: the line panel for 98 and 99, the shape panel for
// the shape codes. The main window asks here when it switches panels.
#pragma once

class QWidget;

namespace vlr {

class PanelHost;
class TStylePanel;

bool IsLinePanelCode(int code);
// 100 ... 112 and 199 (insertion), 200 ... 212 and 297 ... 299 (fine-tuning).
bool IsShapePanelCode(int code);
// A new panel for the code; none for codes whose panels are made elsewhere.
TStylePanel* CreateStylePanel(int code, PanelHost& host, QWidget* parent);

} // namespace vlr
