// The records of a design as one JSON document, field by field under the record layout's names.
#pragma once

#include "model/itemrecord.h"

#include <ostream>

namespace vlr {

// Writes {"records": [ ... ]}: per record every body field its class names, its text, points,
// gridline positions and the size of its picture stream.
void WriteDesignJson(std::ostream& out, const ItemList& list);

} // namespace vlr
