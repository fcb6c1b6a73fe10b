// The document window interfaces.
#include "canvas/designview.h"

#include "canvas/sandboxhost.h"

namespace vlr {

DesignView::~DesignView() = default;
SandboxHost::~SandboxHost() = default;

} // namespace vlr
