// The document window interface.
#include "canvas/designview.h"

namespace vlr {

DesignView::~DesignView() = default;

} // namespace vlr
