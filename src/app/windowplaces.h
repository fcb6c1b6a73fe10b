// Where the main window was when the program last ended — its rectangle, whether it was
// maximised and the side column's width — kept in the settings store beside the settings and
// taken again at the next start. The dialog hosts' places last only for one run.
#pragma once

#include <QList>
#include <QRect>

class QMainWindow;
class QSplitter;

namespace vlr {

class RegistryStore;

struct MainWindowPlace {
    QRect normal; // the window's rectangle when not maximised (screen pixels)
    bool maximised = false;
    int sideColumnWidth = 0; // 0: the program's own width
};

// The place stored; none (an empty rectangle) when nothing usable is stored.
MainWindowPlace ReadWindowPlace(RegistryStore& store);
void WriteWindowPlace(RegistryStore& store, const MainWindowPlace& place);

// The rectangle a remembered one takes on the screens there are now (their available areas):
// kept while enough of its top edge lies on one of them to grab it; otherwise (the screen it was
// on is gone) it goes onto the primary screen, centred and no larger than that screen.
QRect PlaceOnScreens(const QRect& remembered, const QList<QRect>& screens, const QRect& primary);

// Shows the window where it was last (on a screen there is now), or as it is when nothing is
// stored; and remembers where it is.
void ShowAtRememberedPlace(QMainWindow& window, QSplitter& sideColumn, RegistryStore& store);
void RememberWindowPlace(const QMainWindow& window, const QSplitter& sideColumn, RegistryStore& store);

} // namespace vlr
