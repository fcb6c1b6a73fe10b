// Building the render tests' designs.
#include "renderdesigns.h"

#include "model/designfile.h"
#include "model/itemkind.h"
#include "model/itemlist.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <iostream>

namespace vlr::test {

namespace {

constexpr int32_t kPictureWidth = 24, kPictureHeight = 16;

} // namespace

ItemList PageDesign(int32_t units, double width, double height) {
    ItemList design;
    ItemRecord* header = CreateRecord(design, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = units;
    header->designType = units == 1 ? 9 : 1; // a digital image or an illustration sheet
    header->canvasLeft = units == 1 ? 48.0 : units == 2 ? 12.7 : 0.5;
    header->canvasTop = header->canvasLeft;
    header->canvasWidth = header->paperWidth = width;
    header->canvasHeight = header->paperHeight = height;
    return design;
}

ItemRecord* AddItem(ItemList& design, int32_t kind, Point from, Point to) {
    ItemRecord* item = CreateRecord(design, kind);
    item->x1 = from.x;
    item->y1 = from.y;
    item->x2 = to.x;
    item->y2 = to.y;
    item->zOrder = NextZOrder(design);
    SetWorldFromPixels(item, design.screen);
    return item;
}

ItemRecord* AddBox(ItemList& design, const Rect& box, int32_t colour) {
    ItemRecord* item = AddItem(design, ItemKind::Rectangle, {box.left, box.top}, {box.right, box.bottom});
    item->pointList = {{.x = box.left, .y = box.top},
                       {.x = box.right, .y = box.top},
                       {.x = box.right, .y = box.bottom},
                       {.x = box.left, .y = box.bottom}};
    item->shapeMode = 2; // closed and filled
    item->color = item->fillColor = colour;
    return item;
}

ItemRecord* AddText(ItemList& design, Point at, std::u16string_view text) {
    ItemRecord* item = AddItem(design, ItemKind::Text, at, {at.x + 100, at.y});
    SetText(item, text);
    item->fontSize = 12;
    item->fontWeight = 400;
    item->textColor = 0x202020;
    SetFontName(*item, "Arial");
    return item;
}

ItemRecord* AddPicture(ItemList& design, int32_t id, int32_t format, std::vector<uint8_t> bytes) {
    ItemRecord* data = CreateRecord(design, ItemKind::PictureData);
    data->recordClass = RecordClass::PictureData;
    data->pictureId = id;
    data->clipShape = format;
    data->pictureStream = std::move(bytes);
    SetText(data, u"picture");
    return data;
}

ItemRecord* AddClip(ItemList& design, int32_t pictureId, Point at, int32_t width, int32_t height) {
    ItemRecord* clip = AddItem(design, ItemKind::Clip, at, {at.x + width, at.y + height});
    clip->pictureId = pictureId;
    clip->clipShape = ClipShape::WholePicture;
    clip->srcRight = width;
    clip->srcBottom = height;
    clip->scaleX = clip->scaleY = 1.0;
    clip->mirrorX = clip->mirrorY = 1;
    return clip;
}

std::vector<uint8_t> QuarteredBitmap() {
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const bool right = x >= kPictureWidth / 2, bottom = y >= kPictureHeight / 2;
            picture.setPixel(x, y,
                             bottom ? (right ? 0xFFFFFF00 : 0xFF00FF00) : (right ? 0xFF0000FF : 0xFFFF0000));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "bmp").write(picture);
    return {bytes.begin(), bytes.end()};
}

bool Save(ItemList& design, const std::string& path) {
    std::string error;
    if (!WriteDesign(path, design, &error)) {
        std::cerr << "cannot write " << path << ": " << error << '\n';
        return false;
    }
    return true;
}

} // namespace vlr::test
