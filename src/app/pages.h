// The dialog pages the program registers with its two hosts.
#pragma once

namespace vlr {

class TDialogHost;

class Prompt;
class TForm1;

// Registers the pages that exist so far on the hosts.
void RegisterDialogPages(TDialogHost& formX, TDialogHost& formY);
// The pages that work on the main window's designs and settings.
void RegisterDesignPages(TForm1& form, Prompt& prompt, TDialogHost& formX, TDialogHost& formY);
// The pages that customise the style lists and the light direction.
void RegisterStylePages(TForm1& form, Prompt& prompt, TDialogHost& formX, TDialogHost& formY);

} // namespace vlr
