// The list of the sixteen design files used last, most recent first.
#pragma once

#include "settings/params.h"

#include <string>

namespace vlr {

// Puts path at position 1; an earlier entry of the same path moves up from where it was and the
// entry at position 16 drops off. Paths compare exactly: on this platform two names that differ
// in letter case are two files. An empty path changes nothing.
void AddRecent(reopenarr_t& recent, const std::string& path);
// Empties every position.
void ClearRecent(reopenarr_t& recent);

} // namespace vlr
