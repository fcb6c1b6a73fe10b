// A design file of one red square, 50 ... 100 design pixels on a 300 x 200 pixel page, casting a
// black shadow 10 pixels away from the light (elevation 85).
#pragma once

#include "model/designfile.h"
#include "model/geometry.h"
#include "model/itemlist.h"

#include <QString>

namespace vlr::test {

inline bool WriteShadowedSquare(const QString& path) {
    ItemList list;
    ItemRecord* header = CreateRecord(list, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = 1;
    header->canvasWidth = 300;
    header->canvasHeight = 200;
    ItemRecord* square = CreateRecord(list, ItemKind::Rectangle);
    square->zOrder = 1;
    square->color = square->fillColor = 0x0000FF;
    square->shapeMode = 2;
    square->pointList = {{.x = 50, .y = 50}, {.x = 100, .y = 50}, {.x = 100, .y = 100}, {.x = 50, .y = 100}};
    ShapeBounds(square, list.screen);
    square->shadowElevation = 85;
    square->shadowLightness = 0;
    return WriteDesign(path.toStdString(), list);
}

} // namespace vlr::test
