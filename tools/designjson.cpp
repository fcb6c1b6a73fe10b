// JSON listing of a design's records for the batch tool.
#include "designjson.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace vlr {

namespace {

class JsonObject {
public:
    explicit JsonObject(std::ostream& out) : out_(out) { out_ << '{'; }
    ~JsonObject() { out_ << '}'; }
    std::ostream& Key(std::string_view key) {
        out_ << (first_ ? "" : ", ") << '"' << key << "\": ";
        first_ = false;
        return out_;
    }

private:
    std::ostream& out_;
    bool first_ = true;
};

void WriteNumber(std::ostream& out, double value) {
    if (!std::isfinite(value)) {
        out << "null";   // JSON has no NaN or infinity
        return;
    }
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.write(buffer, result.ptr - buffer);
}

// Every code unit outside printable ASCII is escaped, so any text (lone surrogates included)
// comes out exactly.
void WriteString(std::ostream& out, std::u16string_view text) {
    out << '"';
    for (char16_t unit : text) {
        if (unit == u'"' || unit == u'\\') {
            out << '\\' << static_cast<char>(unit);
        } else if (unit >= 0x20 && unit < 0x7F) {
            out << static_cast<char>(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
            out << escaped;
        }
    }
    out << '"';
}

void WriteValue(std::ostream& out, const Int32Field& field) { out << int32_t(field); }
void WriteValue(std::ostream& out, const DoubleField& field) { WriteNumber(out, field); }
void WriteValue(std::ostream& out, uint8_t field) { out << unsigned(field); }
void WriteValue(std::ostream& out, const FontNameField& field) {
    size_t length = std::min<size_t>(field.length, sizeof field.chars);
    std::u16string text;
    for (size_t i = 0; i < length; ++i) {
        text.push_back(static_cast<unsigned char>(field.chars[i]));   // single-byte characters
    }
    WriteString(out, text);
}
template <typename T, size_t N> void WriteValue(std::ostream& out, const std::array<T, N>& values) {
    out << '[';
    for (size_t i = 0; i < N; ++i) {
        out << (i ? ", " : "");
        WriteValue(out, values[i]);
    }
    out << ']';
}

// Unnamed reserved bytes are not listed.
template <size_t N> constexpr bool IsListed(const BytesField<N>*) { return false; }
template <typename T> constexpr bool IsListed(const T*) { return true; }

void WriteFields(JsonObject& object, const ItemRecord* record) {
    const int32_t recordClass = record->recordClass;
    // The first offset of the item layout that the record's class uses.
    size_t itemFrom = 116;
    if (recordClass == RecordClass::LinePattern) {
        itemFrom = 217;
    } else if (recordClass == RecordClass::PictureData) {
        itemFrom = 124;
    }

#define VLR_LIST_FIELD(offset, type, name)                                                           \
    if (IsListed(static_cast<const type*>(nullptr))) {                                              \
        WriteValue(object.Key(#name), record->name);                                                \
    }
#define VLR_LIST_ITEM_FIELD(offset, type, name)                                                      \
    if ((offset) >= itemFrom) {                                                                     \
        VLR_LIST_FIELD(offset, type, name)                                                          \
    }

    VLR_COMMON_FIELDS(VLR_LIST_FIELD)
    if (recordClass == RecordClass::Header) {
        VLR_HEADER_FIELDS(VLR_LIST_FIELD)
        return;
    }
    if (recordClass == RecordClass::LinePattern) {
        VLR_PATTERN_FIELDS(VLR_LIST_FIELD)
    } else if (recordClass == RecordClass::PictureData) {
        VLR_SCALE_FIELDS(VLR_LIST_FIELD)
    }
    VLR_ITEM_FIELDS(VLR_LIST_ITEM_FIELD)
#undef VLR_LIST_ITEM_FIELD
#undef VLR_LIST_FIELD
}

void WritePoint(std::ostream& out, const PointNode& node) {
    JsonObject point(out);
    point.Key("x") << node.x;
    point.Key("y") << node.y;
    point.Key("savedX") << node.savedX;
    point.Key("savedY") << node.savedY;
    point.Key("ctrl1X") << node.ctrl1X;
    point.Key("ctrl1Y") << node.ctrl1Y;
    point.Key("ctrl2X") << node.ctrl2X;
    point.Key("ctrl2Y") << node.ctrl2Y;
    point.Key("savedCtrl1X") << node.savedCtrl1X;
    point.Key("savedCtrl1Y") << node.savedCtrl1Y;
    point.Key("savedCtrl2X") << node.savedCtrl2X;
    point.Key("savedCtrl2Y") << node.savedCtrl2Y;
    point.Key("flag1") << unsigned(node.flag1);
    point.Key("flag2") << unsigned(node.flag2);
}

void WriteGridPositions(std::ostream& out, const std::vector<GridNode>& nodes) {
    out << '[';
    bool first = true;
    for (const GridNode& node : nodes) {
        if (node.removed == 0) {
            out << (first ? "" : ", ") << node.position;
            first = false;
        }
    }
    out << ']';
}

void WriteRecord(std::ostream& out, const ItemRecord* record) {
    JsonObject object(out);
    WriteFields(object, record);
    if (record->wideText) {
        WriteString(object.Key("text"), GetText(record));
    } else {
        object.Key("text") << "null";
    }
    std::ostream& points = object.Key("points");
    points << '[';
    for (size_t i = 0; i < record->pointList.size(); ++i) {
        points << (i ? ", " : "");
        WritePoint(points, record->pointList[i]);
    }
    points << ']';
    WriteGridPositions(object.Key("gridX"), record->gridX);
    WriteGridPositions(object.Key("gridY"), record->gridY);
    object.Key("pictureStreamSize") << record->pictureStream.size();
}

} // namespace

void WriteDesignJson(std::ostream& out, const ItemList& list) {
    out << "{\"records\": [";
    bool first = true;
    for (const ItemRecord* record : list) {
        out << (first ? "\n" : ",\n");
        first = false;
        WriteRecord(out, record);
    }
    out << "\n]}\n";
}

} // namespace vlr
