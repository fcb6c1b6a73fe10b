// The recent-file list.
#include "app/recentfiles.h"

#include <algorithm>

namespace vlr {

void AddRecent(reopenarr_t& recent, const std::string& path) {
    if (path.empty()) {
        return;
    }
    auto found = std::find(recent.begin(), recent.end(), path);
    if (found != recent.end()) {
        std::move(found + 1, recent.end(), found);
        recent.back().clear();
    }
    std::move_backward(recent.begin(), recent.end() - 1, recent.end());
    recent.front() = path;
}

void ClearRecent(reopenarr_t& recent) {
    for (std::string& entry : recent) {
        entry.clear();
    }
}

} // namespace vlr
