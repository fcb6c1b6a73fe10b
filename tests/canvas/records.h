// Records for the selection's tests: shapes from their points, and the points and ends to compare.
#pragma once

#include "model/geometry.h"
#include "model/history.h"

#include <vector>

namespace vlr::test {

// A new shape of the given kind through the points, with its box around them.
inline ItemRecord* Shape(ItemList& list, int32_t kind, const std::vector<Point>& points,
                         int32_t shapeMode = 0, int32_t vertexCount = 0) {
    ItemRecord* item = CreateNewItem(list, kind);
    for (Point p : points) {
        item->pointList.push_back({.x = p.x, .y = p.y});
    }
    item->shapeMode = shapeMode;
    item->vertexCount = vertexCount;
    ShapeBounds(item, list.screen);
    return item;
}

inline std::vector<Point> Points(const ItemRecord* item) {
    std::vector<Point> points;
    for (const PointNode& node : item->pointList) {
        points.push_back(NodePoint(node));
    }
    return points;
}

inline std::vector<Point> Ends(const ItemRecord* item) {
    return {{item->x1, item->y1}, {item->x2, item->y2}};
}

} // namespace vlr::test
