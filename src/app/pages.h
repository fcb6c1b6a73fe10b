// The dialog pages the program registers with its two hosts.
#pragma once

namespace vlr {

class TDialogHost;

// Registers the pages that exist so far on the hosts.
void RegisterDialogPages(TDialogHost& formX, TDialogHost& formY);

} // namespace vlr
