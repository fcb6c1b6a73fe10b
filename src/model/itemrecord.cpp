// Record creation, duplication, release, derived fields and text storage.
#include "model/itemrecord.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vlr {

SavedPixels::~SavedPixels() = default;

ItemList::ItemList(ItemList&& other) noexcept
    : first(other.first), last(other.last), screen(other.screen), derivedBitmaps(other.derivedBitmaps) {
    other.first = nullptr;
    other.last = nullptr;
    other.derivedBitmaps.keptBytes = 0;
}

ItemList& ItemList::operator=(ItemList&& other) noexcept {
    if (this != &other) {
        FreeList(*this);
        first = other.first;
        last = other.last;
        screen = other.screen;
        derivedBitmaps = other.derivedBitmaps;
        other.first = nullptr;
        other.last = nullptr;
        other.derivedBitmaps.keptBytes = 0;
    }
    return *this;
}

ItemList::~ItemList() {
    FreeList(*this);
}

ItemList::iterator& ItemList::iterator::operator++() {
    current = current->next;
    return *this;
}

void LinkAtTail(ItemList& list, ItemRecord* record) {
    record->prev = list.last;
    record->next = nullptr;
    if (list.last) {
        list.last->next = record;
    } else {
        list.first = record;
    }
    list.last = record;
}

namespace {

void SetNewRecordValues(ItemRecord* record, int32_t kind) {
    record->kind = kind;
    record->recordClass = RecordClass::Item;
    record->magic = kMagic;
    record->docNumber = -1;
    record->reservedColor = 0x00FFFFFF;
    record->reserved253 = 0x00FFFFFF;
    record->penWidthPx = 1;
    record->fontSize = 12;
    record->fontWeight = 400;
    record->alignment = 1;
    SetFontName(*record, "Arial");
    record->fillColor = -2;
    record->fixedAngle = -1.0;
    record->historyState = 1;
    record->tension = kDefaultTension;
    record->scaleX = 1.0;
    record->scaleY = 1.0;
    record->pictureScale = 1.0;
    record->mirrorX = 1;
    record->mirrorY = 1;
}

int32_t Span(int32_t from, int32_t to) {
    return SaturateInt32(std::llabs(static_cast<int64_t>(to) - from));
}

// round(sqrt(dx^2 + dy^2)) with the squares taken in double, so far-apart points cannot overflow.
int32_t Length(double dx, double dy) {
    return nearest(std::sqrt(dx * dx + dy * dy));
}

} // namespace

ItemRecord* CreateRecord(ItemList& list, int32_t kind) {
    NumberSequence serials = SerialSequence(list);
    return CreateRecord(list, kind, serials);
}

ItemRecord* CreateRecord(ItemList& list, int32_t kind, NumberSequence& serials) {
    // The serial is taken before the record joins the list.
    int32_t serial = serials.Take(list);
    auto* record = new ItemRecord();
    LinkAtTail(list, record);
    SetNewRecordValues(record, kind);
    record->serial = serial;
    SetWorldFromPixels(record, list.screen);
    if (kind != ItemKind::Header) {
        SetModified(list, true);
    }
    return record;
}

ItemRecord* DuplicateRecord(ItemList& list, ItemRecord* source) {
    NumberSequence serials = SerialSequence(list);
    return DuplicateRecord(list, source, serials);
}

ItemRecord* DuplicateRecord(ItemList& list, ItemRecord* source, NumberSequence& serials) {
    if (!source) {
        return nullptr;
    }
    ItemRecord* copy = CreateRecord(list, source->kind, serials);
    if (source->wideText) {
        SetText(copy, GetText(source));
    }
    copy->recordClass = source->recordClass;
    copy->magic = source->magic;
    copy->reserved8 = source->reserved8;
    copy->docNumber = source->docNumber;
    copy->x1 = source->x1;
    copy->y1 = source->y1;
    copy->x2 = source->x2;
    copy->y2 = source->y2;
    // The world coordinates follow the copied integers, not the source's doubles.
    SetWorldFromPixels(copy, list.screen);

    copy->baseX1 = source->baseX1;
    copy->baseY1 = source->baseY1;
    copy->baseX2 = source->baseX2;
    copy->baseY2 = source->baseY2;
    copy->boundLeft = source->boundLeft;
    copy->boundRight = source->boundRight;
    copy->boundTop = source->boundTop;
    copy->boundBottom = source->boundBottom;
    copy->spanX = source->spanX;
    copy->spanY = source->spanY;
    copy->spanLength = source->spanLength;
    copy->direction = source->direction;

    copy->fontSize = source->fontSize;
    copy->textColor = source->textColor;
    copy->escapement = source->escapement;
    copy->fontWeight = source->fontWeight;
    copy->italic = source->italic;
    copy->underline = source->underline;
    copy->strikeOut = source->strikeOut;
    copy->alignment = source->alignment;
    SetFontName(*copy, GetFontName(*source));
    copy->charset = source->charset;
    copy->textAngle = source->textAngle;

    copy->reserved253 = source->reserved253;
    copy->reserved257 = source->reserved257;
    copy->reserved333 = source->reserved333;
    copy->color = source->color;
    copy->penWidthPx = source->penWidthPx;
    copy->lineWeight = source->lineWeight;
    copy->lineWeightBase = source->lineWeightBase;
    copy->dashPattern = source->dashPattern;
    copy->fillColor = source->fillColor;
    copy->fixedAngle = source->fixedAngle;
    copy->vertexCount = source->vertexCount;
    copy->shapeMode = source->shapeMode;
    copy->tension = source->tension;
    copy->selected = source->selected;
    copy->suspended = source->suspended;
    copy->deleted = source->deleted;
    copy->mark = source->mark;
    copy->zOrder = source->zOrder;
    copy->tailLength = source->tailLength;
    copy->legacyTailA = source->legacyTailA;
    copy->legacyTailB = source->legacyTailB;

    copy->clipShape = source->clipShape;
    copy->pictureId = source->pictureId;
    copy->srcLeft = source->srcLeft;
    copy->srcTop = source->srcTop;
    copy->srcRight = source->srcRight;
    copy->srcBottom = source->srcBottom;
    copy->scaleX = source->scaleX;
    copy->scaleY = source->scaleY;
    copy->rotation = source->rotation;
    copy->saturation = source->saturation;
    copy->contrast = source->contrast;
    copy->lightness = source->lightness;
    copy->reserved417 = source->reserved417;
    copy->mirrorX = source->mirrorX;
    copy->mirrorY = source->mirrorY;
    copy->turnAngle = source->turnAngle;
    copy->pictureScale = source->pictureScale;
    copy->pictureSpanX = source->pictureSpanX;
    copy->pictureSpanY = source->pictureSpanY;
    copy->groupId = source->groupId;
    copy->reserved461 = source->reserved461;
    copy->reserved465 = source->reserved465;
    copy->hasFrame = source->hasFrame;
    copy->shadowElevation = source->shadowElevation;
    copy->shadowFade = source->shadowFade;
    copy->shadowLightness = source->shadowLightness;
    copy->surface = source->surface;

    copy->tagList = source->tagList;
    copy->pointList = source->pointList;

    // The derived bitmaps move to the copy; the source rebuilds its own when next drawn.
    for (ItemRecord* child : source->childList) {
        ItemRecord* moved = CreateRecord(copy->childList, child->kind);
        moved->pictureStream = std::move(child->pictureStream);
        moved->x1 = child->x1;
        moved->y1 = child->y1;
        moved->x2 = child->x2;
        moved->y2 = child->y2;
    }
    ClearChildList(source);

    copy->pictureStream = source->pictureStream;
    return copy;
}

void RemoveRecord(ItemList& list, ItemRecord* record) {
    if (!record) {
        return;
    }
    if (record->prev) {
        record->prev->next = record->next;
    } else {
        list.first = record->next;
    }
    if (record->next) {
        record->next->prev = record->prev;
    } else {
        list.last = record->prev;
    }
    delete record;
}

void FreeList(ItemList& list) {
    ItemRecord* record = list.first;
    list.first = nullptr;
    list.last = nullptr;
    while (record) {
        ItemRecord* next = record->next;
        delete record;
        record = next;
    }
}

void ClearChildList(ItemRecord* record) {
    if (record) {
        FreeList(record->childList);
    }
}

ItemRecord* FindRecord(const ItemList& list, int32_t kind) {
    for (ItemRecord* record : list) {
        if (record->kind == kind) {
            return record;
        }
    }
    return nullptr;
}

ItemRecord* FindLiveRecord(const ItemList& list, int32_t kind) {
    for (ItemRecord* record : list) {
        if (record->kind == kind && record->deleted == 0) {
            return record;
        }
    }
    return nullptr;
}

namespace {

// The field of a counter, of a record or of a const record.
template <typename Record> auto& CounterField(Record* record, Counter counter) {
    switch (counter) {
    case Counter::Serial:
        return record->serial;
    case Counter::ZOrder:
        return record->zOrder;
    case Counter::UndoStep:
        return record->undoStep;
    case Counter::GroupId:
        break;
    }
    return record->groupId;
}

int64_t LargestNumber(const ItemList& list, Counter counter) {
    int64_t largest = 0;
    for (ItemRecord* record : list) {
        if (IsItemClass(record)) {
            largest = std::max<int64_t>(largest, CounterValue(record, counter));
        }
    }
    return largest;
}

} // namespace

int32_t CounterValue(const ItemRecord* record, Counter counter) {
    return CounterField(record, counter);
}

void RenumberByRank(ItemList& list, Counter counter) {
    std::vector<int32_t> values;
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && CounterValue(record, counter) > 0) {
            values.push_back(CounterValue(record, counter));
        }
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    // The rank of a value in use; 0 for one that is not.
    auto rank = [&values](int32_t value) -> int32_t {
        const auto found = std::lower_bound(values.begin(), values.end(), value);
        return found != values.end() && *found == value ? static_cast<int32_t>(found - values.begin()) + 1
                                                        : 0;
    };
    for (ItemRecord* record : list) {
        if (!IsItemClass(record)) {
            continue;
        }
        Int32Field& field = CounterField(record, counter);
        if (field > 0) {
            field = rank(field);
        }
        if (counter == Counter::Serial && record->replaces > 0) {
            record->replaces = rank(record->replaces);
        }
    }
}

int32_t NextFreeNumber(ItemList& list, Counter counter) {
    if (LargestNumber(list, counter) >= std::numeric_limits<int32_t>::max()) {
        RenumberByRank(list, counter);
    }
    return static_cast<int32_t>(LargestNumber(list, counter) + 1);
}

NumberSequence::NumberSequence(const ItemList& list, Counter counter)
    : counter_(counter), next_(LargestNumber(list, counter) + 1) {}

int32_t NumberSequence::Take(ItemList& list) {
    // Each number handed out is the largest in the list once its record has it, so the next is
    // one more, until that would leave the int32 range.
    if (next_ > std::numeric_limits<int32_t>::max()) {
        next_ = NextFreeNumber(list, counter_);
    }
    return static_cast<int32_t>(next_++);
}

int32_t NextSerial(ItemList& list) {
    return NextFreeNumber(list, Counter::Serial);
}

NumberSequence SerialSequence(const ItemList& list) {
    return NumberSequence(list, Counter::Serial);
}

void SetModified(ItemList& list, bool modified) {
    if (ItemRecord* header = FindRecord(list, ItemKind::Header)) {
        header->modified = modified ? 1 : 0;
    }
}

bool IsModified(const ItemList& list) {
    ItemRecord* header = FindRecord(list, ItemKind::Header);
    return header && header->modified != 0;
}

bool IsUntouchedDesign(const ItemList& list) {
    if (!FindRecord(list, ItemKind::Header) || IsModified(list)) {
        return false;
    }
    int count = 0;
    for (auto it = list.begin(); it != list.end() && count <= 3; ++it) {
        ++count;
    }
    return count <= 3;
}

void Recalculate(ItemRecord* record, const ScreenResolution& screen) {
    record->x1 = nearest(record->worldX1 / screen.pxPerMmX());
    record->y1 = nearest(record->worldY1 / screen.pxPerMmY());
    record->x2 = nearest(record->worldX2 / screen.pxPerMmX());
    record->y2 = nearest(record->worldY2 / screen.pxPerMmY());
    DeriveBounds(record);
    record->direction = PointDirection({record->x1, record->y1}, {record->x2, record->y2});
}

void DeriveBounds(ItemRecord* record) {
    int32_t x1 = record->x1, y1 = record->y1, x2 = record->x2, y2 = record->y2;
    record->boundLeft = std::min(x1, x2);
    record->boundRight = std::max(x1, x2);
    record->boundTop = std::min(y1, y2);
    record->boundBottom = std::max(y1, y2);
    record->spanX = Span(x1, x2);
    record->spanY = Span(y1, y2);

    if (record->kind == ItemKind::Clip && record->clipShape == 2) {
        // A round clip: point 1 is the centre, point 2 lies on the circle.
        int64_t radius = Length(static_cast<double>(x1) - x2, static_cast<double>(y1) - y2);
        record->boundLeft = SaturateInt32(x1 - radius);
        record->boundRight = SaturateInt32(x1 + radius);
        record->boundTop = SaturateInt32(y1 - radius);
        record->boundBottom = SaturateInt32(y1 + radius);
        record->spanX = SaturateInt32(2 * radius);
        record->spanY = SaturateInt32(2 * radius);
    }
    record->spanLength = Length(record->spanX, record->spanY);
}

std::array<double, 4> WorldFromPixels(const ItemRecord* record, const ScreenResolution& screen) {
    if (!record) {
        return {0.0, 0.0, 0.0, 0.0};
    }
    return {record->x1 * screen.pxPerMmX(), record->y1 * screen.pxPerMmY(), record->x2 * screen.pxPerMmX(),
            record->y2 * screen.pxPerMmY()};
}

void SetWorldFromPixels(ItemRecord* record, const ScreenResolution& screen) {
    auto world = WorldFromPixels(record, screen);
    record->worldX1 = world[0];
    record->worldY1 = world[1];
    record->worldX2 = world[2];
    record->worldY2 = world[3];
}

void HeaderGeometry(ItemRecord* header) {
    // The products are taken in the order stored designs were made with; floating-point
    // multiplication is not associative, and the last pixel of a page depends on it.
    double z = header->zoom;
    double pxPerUnitX = header->pxPerUnitX;
    double pxPerUnitY = header->pxPerUnitY;
    double canvasLeft = header->canvasLeft, canvasTop = header->canvasTop;
    double canvasWidth = header->canvasWidth, canvasHeight = header->canvasHeight;

    int32_t x1 = nearest(canvasLeft * pxPerUnitX * z);
    int32_t y1 = nearest(z * canvasTop * pxPerUnitY);
    int32_t x2 = SaturateInt32(static_cast<int64_t>(nearest(z * pxPerUnitX * canvasWidth)) + x1);
    int32_t y2 = SaturateInt32(static_cast<int64_t>(nearest(z * pxPerUnitY * canvasHeight)) + y1);
    header->x1 = x1;
    header->y1 = y1;
    header->x2 = x2;
    header->y2 = y2;
    header->boundLeft = std::min(x1, x2);
    header->boundRight = std::max(x1, x2);
    header->boundTop = std::min(y1, y2);
    header->boundBottom = std::max(y1, y2);
    header->spanX = nearest(canvasWidth * pxPerUnitX * z);
    header->spanY = nearest(z * canvasHeight * pxPerUnitY);
}

// ---- text ----

std::string_view Trim(std::string_view text) {
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    const size_t end = text.find_last_not_of(' ');
    return text.substr(start, end - start + 1);
}

void SetText(ItemRecord* record, std::u16string_view text) {
    if (record) {
        record->wideText = std::u16string(text);
    }
}

int32_t TextLength(const ItemRecord* record) {
    if (!record || !record->wideText) {
        return 0;
    }
    const std::u16string& text = *record->wideText;
    size_t limit = std::min<size_t>(text.size(), kTextScanLimit + 1);
    size_t length = 0;
    while (length < limit && text[length] != 0) {
        ++length;
    }
    return static_cast<int32_t>(length);
}

std::u16string GetText(const ItemRecord* record) {
    if (!record || !record->wideText) {
        return {};
    }
    return record->wideText->substr(0, static_cast<size_t>(TextLength(record)));
}

int32_t LineCount(const ItemRecord* record) {
    int32_t length = TextLength(record);
    if (length == 0) {
        return 0;
    }
    const std::u16string& text = *record->wideText;
    return 1 + static_cast<int32_t>(std::count(text.begin(), text.begin() + length, kLineSeparator));
}

std::u16string GetLine(const ItemRecord* record, int32_t n) {
    if (n < 1) {
        return {};
    }
    int32_t length = TextLength(record);
    if (length == 0) {
        return {};
    }
    std::u16string_view text(record->wideText->data(), static_cast<size_t>(length));
    size_t start = 0;
    for (int32_t line = 1; line < n; ++line) {
        size_t separator = text.find(kLineSeparator, start);
        if (separator == std::u16string_view::npos) {
            return {};
        }
        start = separator + 1;
    }
    size_t end = text.find(kLineSeparator, start);
    return std::u16string(text.substr(start, end == std::u16string_view::npos ? end : end - start));
}

char16_t CharAt(const ItemRecord* record, int32_t n) {
    if (n < 1 || n > TextLength(record)) {
        return 0;
    }
    return (*record->wideText)[static_cast<size_t>(n - 1)];
}

} // namespace vlr
