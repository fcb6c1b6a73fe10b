// The main window's place from one run to the next.
#include "app/windowplaces.h"

#include "platform/registrystore.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>

#include <algorithm>

namespace vlr {

namespace {

constexpr const char* kPlaceKey = "Software/Tessarine/WindowPlace";
// Bounds that keep a damaged entry from making an unusable window.
constexpr int kSmallestSide = 100;
constexpr int kLargestSide = 32000;
// How much of the top edge must lie on a screen for the user to grab the window.
constexpr int kGrabWidth = 100;
constexpr int kGrabHeight = 20;

int Read(const RegistryKey& key, const char* name, int fallback) {
    StoredValue<int32_t> value = key.ReadInteger(name);
    return value.ok() ? value.value : fallback;
}

} // namespace

MainWindowPlace ReadWindowPlace(RegistryStore& store) {
    MainWindowPlace place;
    std::unique_ptr<RegistryKey> key = store.OpenKey(kPlaceKey);
    if (!key) {
        return place;
    }
    const int width = Read(*key, "width", 0), height = Read(*key, "height", 0);
    if (width >= kSmallestSide && height >= kSmallestSide && width <= kLargestSide &&
        height <= kLargestSide) {
        const int left = std::clamp(Read(*key, "left", 0), -kLargestSide, kLargestSide);
        const int top = std::clamp(Read(*key, "top", 0), -kLargestSide, kLargestSide);
        place.normal = QRect(left, top, width, height);
    }
    place.maximised = Read(*key, "maximised", 0) != 0;
    place.sideColumnWidth = std::clamp(Read(*key, "sideColumn", 0), 0, kLargestSide);
    return place;
}

void WriteWindowPlace(RegistryStore& store, const MainWindowPlace& place) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kPlaceKey);
    if (!key) {
        return;
    }
    key->WriteInteger("left", place.normal.left());
    key->WriteInteger("top", place.normal.top());
    key->WriteInteger("width", place.normal.width());
    key->WriteInteger("height", place.normal.height());
    key->WriteInteger("maximised", place.maximised ? 1 : 0);
    key->WriteInteger("sideColumn", place.sideColumnWidth);
}

QRect PlaceOnScreens(const QRect& remembered, const QList<QRect>& screens, const QRect& primary) {
    const QRect topEdge(remembered.left(), remembered.top(), remembered.width(), kGrabHeight);
    for (const QRect& screen : screens) {
        const QRect onScreen = screen.intersected(topEdge);
        if (onScreen.width() >= std::min(kGrabWidth, remembered.width()) &&
            onScreen.height() >= kGrabHeight) {
            return remembered;
        }
    }
    QRect placed(0, 0, std::min(remembered.width(), primary.width()),
                 std::min(remembered.height(), primary.height()));
    placed.moveCenter(primary.center());
    return placed;
}

void ShowAtRememberedPlace(QMainWindow& window, QSplitter& sideColumn, RegistryStore& store) {
    const MainWindowPlace place = ReadWindowPlace(store);
    if (place.normal.isValid()) {
        QList<QRect> screens;
        for (QScreen* screen : QGuiApplication::screens()) {
            screens.push_back(screen->availableGeometry());
        }
        QScreen* primary = QGuiApplication::primaryScreen();
        window.setGeometry(
            PlaceOnScreens(place.normal, screens, primary ? primary->availableGeometry() : QRect()));
    }
    if (place.sideColumnWidth > 0) {
        QList<int> sizes = sideColumn.sizes();
        if (sizes.size() == 2) {
            const int total = sizes[0] + sizes[1];
            sizes = {place.sideColumnWidth, std::max(1, total - place.sideColumnWidth)};
            sideColumn.setSizes(sizes);
        }
    }
    if (place.maximised) {
        window.showMaximized();
    } else {
        window.show();
    }
}

void RememberWindowPlace(const QMainWindow& window, const QSplitter& sideColumn, RegistryStore& store) {
    MainWindowPlace place;
    place.normal = window.normalGeometry();
    if (!place.normal.isValid()) {
        place.normal = window.geometry();
    }
    place.maximised = window.isMaximized();
    const QList<int> sizes = sideColumn.sizes();
    place.sideColumnWidth = sizes.isEmpty() ? 0 : sizes.front();
    WriteWindowPlace(store, place);
}

} // namespace vlr
