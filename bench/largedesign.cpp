// The large design of the file benchmarks.
#include "largedesign.h"

#include "model/designfile.h"
#include "model/itemlist.h"

#include <random>

namespace vlr::bench {

namespace {

constexpr int kItems = 100'000;
constexpr int kTemplateItems = 1'000;
constexpr size_t kBodySize = 448;

vlr::ItemRecord* AddHeader(vlr::ItemList& list) {
    vlr::ItemRecord* header = vlr::CreateRecord(list, vlr::ItemKind::Header);
    header->recordClass = vlr::RecordClass::Header;
    header->zoom = 1.0;
    header->units = 2;
    header->canvasWidth = 210.0;
    header->canvasHeight = 297.0;
    return header;
}

// Header, gridlines and the pictures.
std::vector<uint8_t> DesignStart() {
    vlr::ItemList list;
    vlr::SetText(AddHeader(list), u"210\u07EC297\u07EC85\u07EC55\u07EC");
    vlr::ItemRecord* grid = vlr::CreateRecord(list, vlr::ItemKind::Gridlines);
    for (int i = 0; i < 40; ++i) {
        grid->gridX.push_back({.position = 19 * i});
        grid->gridY.push_back({.position = 19 * i});
    }
    for (int picture = 1; picture <= 10; ++picture) {
        vlr::ItemRecord* data = vlr::CreateRecord(list, vlr::ItemKind::PictureData);
        data->recordClass = vlr::RecordClass::PictureData;
        data->pictureId = picture;
        data->pictureStream.assign(64 * 1024, static_cast<uint8_t>(picture));
        vlr::SetText(data, u"/home/user/pictures/photo.jpg");
        vlr::CreateRecord(list, vlr::ItemKind::Clip)->pictureId = picture; // keeps the picture stored
    }
    std::vector<uint8_t> bytes;
    vlr::WriteDesignToMemory(list, bytes);
    return bytes;
}

// kTemplateItems mixed items, without their header.
std::vector<uint8_t> TemplateItems() {
    vlr::ItemList list;
    AddHeader(list); // 448 bytes without a text
    std::mt19937 random(42);
    const int32_t kinds[] = {vlr::ItemKind::Text,   vlr::ItemKind::Text,      vlr::ItemKind::Line,
                             vlr::ItemKind::Line,   vlr::ItemKind::Rectangle, vlr::ItemKind::Star,
                             vlr::ItemKind::Spline, vlr::ItemKind::Curve,     vlr::ItemKind::Ellipse,
                             vlr::ItemKind::Clip};
    for (int i = 0; i < kTemplateItems; ++i) {
        vlr::ItemRecord* item = vlr::CreateRecord(list, kinds[random() % std::size(kinds)]);
        item->zOrder = i + 1;
        item->x1 = static_cast<int32_t>(random() % 800);
        item->y1 = static_cast<int32_t>(random() % 1100);
        item->x2 = item->x1 + static_cast<int32_t>(random() % 200);
        item->y2 = item->y1 + static_cast<int32_t>(random() % 200);
        vlr::SetWorldFromPixels(item, list.screen);
        if (item->kind == vlr::ItemKind::Text) {
            vlr::SetText(item,
                         u"Velloran Business Cards\u07ECSecond line " + std::u16string(random() % 20, u'x'));
        } else if (item->kind == vlr::ItemKind::Clip) {
            item->pictureId = 1 + static_cast<int32_t>(random() % 10);
        } else if (vlr::IsShapeKind(item->kind)) {
            size_t points = 3 + random() % 10;
            for (size_t p = 0; p < points; ++p) {
                item->pointList.push_back(
                    {.x = static_cast<int32_t>(random() % 800), .y = static_cast<int32_t>(random() % 1100)});
            }
        }
    }
    std::vector<uint8_t> bytes;
    vlr::WriteDesignToMemory(list, bytes);
    bytes.erase(bytes.begin(), bytes.begin() + kBodySize);
    return bytes;
}

} // namespace

// The file of the large design. (Creating each record through the list would cost a pass over
// the list per record for its serial number; the reader numbers them in one pass.)
std::vector<uint8_t> MakeLargeDesignBytes() {
    std::vector<uint8_t> file = DesignStart();
    std::vector<uint8_t> items = TemplateItems();
    for (int copy = 0; copy < kItems / kTemplateItems; ++copy) {
        file.insert(file.end(), items.begin(), items.end());
    }
    return file;
}

const std::vector<uint8_t>& LargeDesignBytes() {
    static const std::vector<uint8_t> bytes = MakeLargeDesignBytes();
    return bytes;
}

} // namespace vlr::bench
