// Typing into a text item on the canvas.
#include "canvas/textedit.h"

#include "model/geometry.h"
#include "model/itemlist.h"
#include "model/numeric.h"
#include "render/textdraw.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vlr {

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsLineBreak(char16_t c) {
    return c == 10 || c == 13 || c == 0x2028 || c == 0x2029;
}

// Where a line (1-based) starts in the text and how long it is, in code units; a line past the
// last one is taken as the last.
struct LineSpan {
    size_t start = 0;
    int32_t length = 0;
    int32_t number = 1;
};
LineSpan LineAt(std::u16string_view text, int32_t line) {
    LineSpan span;
    size_t i = 0;
    while (span.number < line) {
        const size_t separator = text.find(kLineSeparator, i);
        if (separator == std::u16string_view::npos) {
            break;
        }
        i = separator + 1;
        ++span.number;
    }
    span.start = i;
    const size_t end = text.find(kLineSeparator, i);
    span.length = static_cast<int32_t>((end == std::u16string_view::npos ? text.size() : end) - i);
    return span;
}
int32_t LineTotal(std::u16string_view text) {
    return 1 + static_cast<int32_t>(std::count(text.begin(), text.end(), kLineSeparator));
}

// The caret kept on a line and column that exist, never between the halves of a surrogate pair.
void ClampCaret(TextEditing& editing, std::u16string_view text) {
    const LineSpan line = LineAt(text, std::max(editing.caretLine, 1));
    editing.caretLine = line.number;
    editing.caretColumn = std::clamp(editing.caretColumn, 1, line.length + 1);
    if (editing.caretColumn > 1 && IsHighSurrogate(text[line.start + editing.caretColumn - 2])) {
        --editing.caretColumn;
    }
}

// The caret's offset in the whole text (0-based, separators counted).
size_t CaretOffset(const TextEditing& editing, std::u16string_view text) {
    return LineAt(text, editing.caretLine).start + static_cast<size_t>(editing.caretColumn - 1);
}

double Direction(const ItemRecord& text) {
    return TenthsToRadians(text.escapement);
}

// The baseline's points with the world values and bounds that follow from them.
void SetBaseline(ItemRecord* text, Point first, Point second, const ScreenResolution& screen) {
    text->x1 = first.x;
    text->y1 = first.y;
    text->x2 = second.x;
    text->y2 = second.y;
    SetWorldFromPixels(text, screen);
    DeriveBounds(text);
}

// Both ends of the baseline move by one line height, towards the top of the letters (up) or
// away from it; the other lines keep their places because the baseline carries the last one.
void MoveBaseline(ItemRecord* text, int32_t lineHeight, bool up, const ScreenResolution& screen) {
    const double angle = Direction(*text) + (up ? kPi / 2.0 : -kPi / 2.0);
    const Point step = PolarPoint({0, 0}, angle, lineHeight);
    SetBaseline(text, {SaturatingAdd(text->x1, step.x), SaturatingAdd(text->y1, step.y)},
                {SaturatingAdd(text->x2, step.x), SaturatingAdd(text->y2, step.y)}, screen);
}

// The font of a text at a zoom, its metrics read with the raster's own font put back.
TextMetrics MetricsAtZoom(RasterCanvas& raster, const ItemRecord& text, double zoom) {
    const FontSpec kept = raster.font();
    FontSpec font = TextFont(text, zoom, text.textColor);
    font.escapement = 0;
    raster.setFont(font);
    const TextMetrics metrics = raster.GetTextMetrics();
    raster.setFont(kept);
    return metrics;
}

// The text as it lies on the canvas: each line's baseline (line 1 first), the font's ascent and
// descent at the zoom, and the box the frame outlines and clicks fall into.
struct CanvasText {
    std::vector<TextLinePlacement> lines;
    TextMetrics metrics;
    int32_t lineHeight = 0; // canvas pixels
    double direction = 0.0;
    std::array<Point, 4> box;
};

CanvasText LayOut(TextEditWindow& window, const ItemRecord& text) {
    CanvasText laid;
    RasterCanvas& raster = window.raster();
    const ViewTransform transform = window.transform();
    laid.lines = TextLinePlacements(raster, text, transform);
    std::reverse(laid.lines.begin(), laid.lines.end());
    if (laid.lines.empty()) {
        laid.lines.push_back({1, std::u16string_view(), ToDevice({text.x1, text.y1}, transform),
                              ToDevice({text.x2, text.y2}, transform)});
    }
    laid.metrics = MetricsAtZoom(raster, text, window.zoom());
    laid.lineHeight = nearest(window.TextLineHeight(text) * window.zoom());
    laid.direction = Direction(text);
    // From the last line's baseline up to the top of the first line's letters.
    const Point rise = PolarPoint({0, 0}, laid.direction + kPi / 2.0, laid.metrics.ascent);
    const TextLinePlacement& first = laid.lines.front();
    const TextLinePlacement& last = laid.lines.back();
    laid.box = {last.start, last.end,
                Point{SaturatingAdd(first.end.x, rise.x), SaturatingAdd(first.end.y, rise.y)},
                Point{SaturatingAdd(first.start.x, rise.x), SaturatingAdd(first.start.y, rise.y)}};
    return laid;
}

// The canvas point after the first k characters of a placed line, shifted as the drawing shifts
// centred and right-aligned lines that are shorter than the baseline.
Point PositionOnLine(RasterCanvas& raster, const ItemRecord& text, const TextLinePlacement& line, size_t k,
                     double zoom, double direction) {
    double shift = 0.0;
    if (text.alignment == TextAlignment::Centre || text.alignment == TextAlignment::Right) {
        const int64_t width = TextLineWidth(raster, line.line, text, zoom);
        const int64_t length = nearest(PointDistance(line.start, line.end));
        if (width < length) {
            const double room = static_cast<double>(length - width);
            shift = text.alignment == TextAlignment::Centre ? room / 2.0 : room;
        }
    }
    const int32_t before = k == 0 ? 0 : TextLineWidth(raster, line.line.substr(0, k), text, zoom);
    return PolarPoint(line.start, direction, shift + before);
}

bool InsideBox(const std::array<Point, 4>& box, Point p) {
    // Inside a convex quadrilateral: on the same side of every edge.
    int sign = 0;
    for (size_t i = 0; i < box.size(); ++i) {
        const Point a = box[i], b = box[(i + 1) % box.size()];
        const double cross =
            (double(b.x) - a.x) * (double(p.y) - a.y) - (double(b.y) - a.y) * (double(p.x) - a.x);
        const int side = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (side != 0) {
            if (sign != 0 && side != sign) {
                return false;
            }
            sign = side;
        }
    }
    return sign != 0;
}

Rect BoundsOf(std::initializer_list<Point> points) {
    Rect bounds{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(),
                std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
    for (Point p : points) {
        bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
                  std::max(bounds.bottom, p.y)};
    }
    return bounds;
}

Rect Grown(const Rect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {SaturatingAdd(r.left, -left), SaturatingAdd(r.top, -top), SaturatingAdd(r.right, right),
            SaturatingAdd(r.bottom, bottom)};
}

Rect United(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Rect Clipped(const Rect& r, const Rect& to) {
    return {std::max(r.left, to.left), std::max(r.top, to.top), std::min(r.right, to.right),
            std::min(r.bottom, to.bottom)};
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool AnyShadow(const ItemList& list) {
    return std::any_of(list.begin(), list.end(), [](const ItemRecord* item) {
        return IsLiveItem(item) && item->suspended == 0 && IsDesignItemKind(item->kind) &&
               item->shadowElevation != 0;
    });
}

// ---- the caret ----

void EraseCaret(TextEditTarget& t) {
    if (t.editing.caretUnder.holding) {
        RestoreArea(t.editing.caretUnder, t.window.raster());
    }
    t.editing.caretPhase = false;
}

void DrawCaret(TextEditTarget& t, const ItemRecord& text, const CanvasText& laid) {
    RasterCanvas& raster = t.window.raster();
    const double zoom = t.window.zoom();
    const TextLinePlacement& line = laid.lines[std::min<size_t>(t.editing.caretLine, laid.lines.size()) - 1];
    const Point at = PositionOnLine(raster, text, line, static_cast<size_t>(t.editing.caretColumn - 1), zoom,
                                    laid.direction);
    // An italic text's caret leans with its letters.
    const double upright = laid.direction + kPi / 2.0 - (text.italic ? 10.0 * kPi / 180.0 : 0.0);
    const Point top = PolarPoint(at, upright, laid.metrics.ascent);
    const Point bottom = PolarPoint(at, upright + kPi, laid.metrics.descent);
    const int32_t width = zoom > 1.0 ? 2 : 1;
    SaveArea(t.editing.caretUnder, raster, Grown(BoundsOf({top, bottom}), 2, 2, 3, 3));
    const Pen kept = raster.pen();
    raster.setPen({text.textColor, width, PenStyle::Solid});
    const std::array<Point, 2> caret{bottom, top};
    raster.Polyline(caret);
    raster.setPen(kept);
    t.editing.caretPhase = true;
}

void RestartCaret(TextEditTarget& t, const ItemRecord& text) {
    EraseCaret(t);
    DrawCaret(t, text, LayOut(t.window, text));
    t.window.CanvasChanged();
    t.window.SetCaretTimer(true);
}

// ---- the frame and the text over their saved background ----

void Redraw(TextEditTarget& t, ItemRecord* text) {
    TextEditWindow& window = t.window;
    RasterCanvas& raster = window.raster();
    if (raster.isNull()) {
        return;
    }
    EraseCaret(t);
    const CanvasText laid = LayOut(window, *text);
    const int32_t h = std::max(laid.lineHeight, 1);
    const int32_t widest = std::max(laid.metrics.maxCharWidth, 1);
    const Rect box = BoundsOf({laid.box[0], laid.box[1], laid.box[2], laid.box[3]});
    const int32_t reach = std::max(widest, h);
    // What the text, its frame and caret may cover now; nothing off the canvas needs saving.
    const Rect needed = Clipped(Grown(box, reach, reach, reach, reach), window.WholeCanvas());
    if (needed.left >= needed.right || needed.top >= needed.bottom) {
        // Scrolled out of view: nothing to show until it comes back with a repaint.
        window.SetCaretTimer(true);
        return;
    }
    SaveUnder& under = window.selectionUnder();
    if (!under.holding || !Contains(t.editing.backgroundArea, needed)) {
        // Room for the next keystrokes: the text grows to the right and downwards.
        Rect area = AnyShadow(t.list) ? window.WholeCanvas()
                                      : United(needed, Grown(box, widest / 2, h / 2, 8 * widest, 2 * h));
        if (under.holding) {
            area = United(area, t.editing.backgroundArea);
        }
        area = Clipped(area, window.WholeCanvas());
        window.RepaintUnderSelection(area);
        t.editing.backgroundArea = area;
    } else {
        PutBack(under, raster);
    }
    window.DrawFully(text);
    const Pen kept = raster.pen();
    raster.setPen({window.markerStyle().guideColour, 1, PenStyle::Solid});
    const std::array<Point, 5> frame{laid.box[0], laid.box[1], laid.box[2], laid.box[3], laid.box[0]};
    raster.Polyline(frame);
    raster.setPen(kept);
    DrawCaret(t, *text, laid);
    window.CanvasChanged();
    window.SetCaretTimer(true);
}

// After every change of the text: the baseline grows to the longest line and the text, its
// frame and the caret are drawn again.
void Changed(TextEditTarget& t, ItemRecord* text, bool growOnly) {
    FitBaseline(text, t.window.raster(), t.window.zoom(), growOnly, t.list.screen);
    t.editing.changed = true;
    Redraw(t, text);
}

} // namespace

ItemRecord* EditedText(const TextEditTarget& t) {
    if (!t.editing.open) {
        return nullptr;
    }
    ItemRecord* text = FindBySerial(t.list, t.editing.serial);
    return text && IsLiveItem(text) && text->kind == ItemKind::Text ? text : nullptr;
}

void OpenTextForEditing(TextEditTarget t, ItemRecord* text, bool justCreated) {
    if (!text || text->kind != ItemKind::Text) {
        return;
    }
    if (t.editing.open) {
        CloseTextEditing(t);
    }
    // The canvas's mouse input waits until the text is open.
    const bool wasBusy = t.input.mouseBusy;
    t.input.mouseBusy = true;
    TextEditing& editing = t.editing;
    editing = {};
    SelectOnly(t.list, text);
    if (!justCreated) {
        editing.ownStep = true;
        editing.wasModified = IsModified(t.list);
        editing.step = t.window.BeginEdit(false);
        text = FirstSelected(t.list);
        t.input.toolMode = 37;
        t.input.clickCount = 0;
    }
    t.window.EraseMarkers();
    editing.open = true;
    editing.serial = text->serial;
    const std::u16string content = GetText(text);
    editing.caretLine = std::max(LineCount(text), 1);
    editing.caretColumn = LineAt(content, editing.caretLine).length + 1;
    if (t.window.selectionUnder().holding) {
        editing.backgroundArea = t.window.selectionUnder().destination;
    }
    t.window.RecordsChanged();
    Redraw(t, text);
    t.window.TextEditingStarted(text);
    t.input.mouseBusy = wasBusy;
}

void OpenNewText(TextEditTarget t) {
    if (t.input.toolMode == 31 && t.input.clickCount == 2 && !t.editing.open) {
        if (ItemRecord* text = FindBySerial(t.list, t.input.typingSerial); text && IsLiveItem(text)) {
            OpenTextForEditing(t, text, true);
        }
    }
}

DoubleClickTarget OpenDoubleClicked(TextEditTarget t, Point design) {
    const DoubleClickTarget target = DoubleClickAt(t.list, design);
    if (target.kind == DoubleClickTarget::Kind::Text) {
        OpenTextForEditing(t, target.item, false);
    }
    return target;
}

bool TypeCharacter(TextEditTarget t, std::u16string_view typed) {
    ItemRecord* text = EditedText(t);
    if (!text) {
        return false;
    }
    TextEditing& editing = t.editing;
    std::u16string content = GetText(text);
    ClampCaret(editing, content);
    const int32_t lineHeight = t.window.TextLineHeight(*text);
    bool taken = false, changed = false, full = false;
    for (size_t i = 0; i < typed.size(); ++i) {
        const char16_t c = typed[i];
        const size_t at = CaretOffset(editing, content);
        if (c == 8) {
            taken = true;
            if (at == 0) {
                continue;
            }
            if (content[at - 1] == kLineSeparator) {
                MoveBaseline(text, lineHeight, true, t.list.screen);
                --editing.caretLine;
                editing.caretColumn = LineAt(content, editing.caretLine).length + 1;
                content.erase(at - 1, 1);
            } else {
                const size_t count =
                    at >= 2 && IsLowSurrogate(content[at - 1]) && IsHighSurrogate(content[at - 2]) ? 2 : 1;
                content.erase(at - count, count);
                editing.caretColumn -= static_cast<int32_t>(count);
            }
            changed = true;
            continue;
        }
        if (!IsLineBreak(c) && (c < u' ' || c == 0x7F)) {
            continue;
        }
        taken = true;
        if (content.size() >= static_cast<size_t>(kMaxTypedText)) {
            full = true;
            break;
        }
        if (IsLineBreak(c)) {
            // A Return of CR LF breaks the line once.
            if (c == 13 && i + 1 < typed.size() && typed[i + 1] == 10) {
                ++i;
            }
            content.insert(at, 1, kLineSeparator);
            ++editing.caretLine;
            editing.caretColumn = 1;
            MoveBaseline(text, lineHeight, false, t.list.screen);
        } else {
            content.insert(at, 1, c);
            ++editing.caretColumn;
        }
        changed = true;
    }
    if (changed) {
        SetText(text, content);
        Changed(t, text, true);
    }
    if (full) {
        t.window.ShowStatusMessage(
            QString("The text is full: a text holds at most %L1 characters.").arg(kMaxTypedText));
    }
    return taken;
}

bool DeleteAtCaret(TextEditTarget t) {
    ItemRecord* text = EditedText(t);
    if (!text) {
        return false;
    }
    std::u16string content = GetText(text);
    if (content.empty()) {
        return true;
    }
    ClampCaret(t.editing, content);
    const size_t at = CaretOffset(t.editing, content);
    if (at >= content.size()) {
        Redraw(t, text);
        return true;
    }
    if (content[at] == kLineSeparator) {
        MoveBaseline(text, t.window.TextLineHeight(*text), true, t.list.screen);
    }
    const size_t count =
        at + 1 < content.size() && IsHighSurrogate(content[at]) && IsLowSurrogate(content[at + 1]) ? 2 : 1;
    content.erase(at, count);
    SetText(text, content);
    Changed(t, text, true);
    return true;
}

bool CaretKey(TextEditTarget t, int key) {
    ItemRecord* text = EditedText(t);
    if (!text) {
        return false;
    }
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown && key != Qt::Key_Home && key != Qt::Key_End &&
        key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) {
        return false;
    }
    TextEditing& editing = t.editing;
    const std::u16string content = GetText(text);
    ClampCaret(editing, content);
    const int32_t lines = LineTotal(content);
    auto lineEnd = [&content](int32_t line) { return LineAt(content, line).length + 1; };
    auto unitAt = [&](int32_t column) {
        return content[LineAt(content, editing.caretLine).start + column - 1];
    };
    switch (key) {
    case Qt::Key_PageUp:
        editing.caretLine = 1;
        editing.caretColumn = 1;
        break;
    case Qt::Key_PageDown:
        editing.caretLine = lines;
        editing.caretColumn = lineEnd(lines);
        break;
    case Qt::Key_Home:
        editing.caretColumn = 1;
        break;
    case Qt::Key_End:
        editing.caretColumn = lineEnd(editing.caretLine);
        break;
    case Qt::Key_Left:
        if (editing.caretColumn > 1) {
            editing.caretColumn -=
                editing.caretColumn > 2 && IsLowSurrogate(unitAt(editing.caretColumn - 1)) ? 2 : 1;
        }
        break;
    case Qt::Key_Right:
        if (editing.caretColumn < lineEnd(editing.caretLine)) {
            editing.caretColumn += IsHighSurrogate(unitAt(editing.caretColumn)) ? 2 : 1;
            editing.caretColumn = std::min(editing.caretColumn, lineEnd(editing.caretLine));
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        editing.caretLine = std::clamp(editing.caretLine + (key == Qt::Key_Up ? -1 : 1), 1, lines);
        editing.caretColumn = std::min(editing.caretColumn, lineEnd(editing.caretLine));
        ClampCaret(editing, content);
        break;
    default:
        return false;
    }
    RestartCaret(t, *text);
    return true;
}

bool TextEditingKeyDown(TextEditTarget t, int key, Qt::KeyboardModifiers modifiers) {
    if (!EditedText(t) || (modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        return false;
    }
    switch (key) {
    case Qt::Key_Escape:
        CloseTextEditing(t);
        return true;
    case Qt::Key_Backspace:
        return TypeCharacter(t, u"\b");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TypeCharacter(t, u"\r");
    default:
        return CaretKey(t, key);
    }
}

bool PlaceCaretByClick(TextEditTarget t, Point canvas) {
    ItemRecord* text = EditedText(t);
    if (!text) {
        return false;
    }
    const CanvasText laid = LayOut(t.window, *text);
    if (!InsideBox(laid.box, canvas)) {
        return false;
    }
    RasterCanvas& raster = t.window.raster();
    const double zoom = t.window.zoom();
    // Every position after a character is a candidate; the first of equally near ones wins.
    double best = std::numeric_limits<double>::infinity();
    for (size_t n = 0; n < laid.lines.size(); ++n) {
        const std::u16string_view line = laid.lines[n].line;
        for (size_t k = 1; k <= line.size(); ++k) {
            if (k < line.size() && IsHighSurrogate(line[k - 1])) {
                continue;
            }
            const double d =
                PointDistance(PositionOnLine(raster, *text, laid.lines[n], k, zoom, laid.direction), canvas);
            if (d < best) {
                best = d;
                t.editing.caretLine = static_cast<int32_t>(n) + 1;
                t.editing.caretColumn = static_cast<int32_t>(k) + 1;
            }
        }
    }
    RestartCaret(t, *text);
    return true;
}

void CloseTextEditing(TextEditTarget t, bool keepSelected) {
    if (!t.editing.open) {
        return;
    }
    EraseCaret(t);
    t.window.SetCaretTimer(false);
    TextEditing& editing = t.editing;
    editing.open = false;
    if (editing.ownStep && !editing.changed) {
        // Opening and closing a text without typing leaves no undo step behind.
        CancelEdit(t.list, editing.step, editing.wasModified);
        t.window.RecordsChanged();
    }
    editing.caretUnder.holding = false;
    t.window.TextEditingEnded();
    if (t.input.toolMode == 37) {
        t.input.toolMode = 0;
        t.input.clickCount = 0;
        t.window.RedrawAll(true);
    } else if (t.input.toolMode == 31 && keepSelected) {
        // The new text keeps its selection and shows its markers; typing does not resume.
        t.input.typingSerial = 0;
        t.window.RedrawAll(true);
    } else if (t.input.toolMode == 31) {
        // The new text ends; the next click starts another.
        t.input.clickCount = 0;
        t.input.typingSerial = 0;
        SelectOnly(t.list, nullptr);
        t.window.RedrawAll(false);
    }
}

void BlinkCaret(TextEditTarget t) {
    ItemRecord* text = EditedText(t);
    if (!text) {
        t.window.SetCaretTimer(false);
        return;
    }
    if (t.editing.caretPhase) {
        EraseCaret(t);
    } else {
        DrawCaret(t, *text, LayOut(t.window, *text));
    }
    t.window.CanvasChanged();
}

void CanvasRepainted(TextEditing& editing) {
    editing.caretUnder.holding = false;
    editing.caretPhase = false;
    editing.backgroundArea = {};
}

void ShowEditedText(TextEditTarget t) {
    if (ItemRecord* text = EditedText(t)) {
        // Whatever was saved before the repaint belongs to an older picture.
        CanvasRepainted(t.editing);
        t.window.selectionUnder().holding = false;
        Redraw(t, text);
    }
}

bool ChangeEditedText(TextEditTarget t, const std::function<void(ItemRecord&)>& change) {
    ItemRecord* text = EditedText(t);
    if (!text) {
        return false;
    }
    EraseCaret(t);
    change(*text);
    Changed(t, text, false);
    return true;
}

void FitBaseline(ItemRecord* text, RasterCanvas& raster, double zoom, bool growOnly,
                 const ScreenResolution& screen) {
    if (raster.isNull() || !(zoom > 0.0)) {
        return;
    }
    int32_t widest = 0;
    for (std::u16string_view line : TextLines(*text)) {
        if (!line.empty()) {
            widest = std::max(widest, TextLineWidth(raster, line, *text, zoom));
        }
    }
    // Design pixels enough to hold the widest line as drawn at this zoom.
    const int32_t length = static_cast<int32_t>(std::ceil(widest / zoom - 1e-9));
    const Point start{text->x1, text->y1}, end{text->x2, text->y2};
    if (growOnly && length <= nearest(PointDistance(start, end))) {
        return;
    }
    const double direction = Direction(*text);
    Point first = start, second = end;
    if (text->alignment == TextAlignment::Right) {
        first = PolarPoint(end, direction + kPi, length);
    } else if (text->alignment == TextAlignment::Centre) {
        const double midX = (double(start.x) + end.x) / 2.0, midY = (double(start.y) + end.y) / 2.0;
        const double dx = length / 2.0 * std::cos(direction), dy = length / 2.0 * std::sin(direction);
        first = {nearest(midX - dx), nearest(midY + dy)};
        second = {nearest(midX + dx), nearest(midY - dy)};
    } else {
        second = PolarPoint(start, direction, length);
    }
    SetBaseline(text, first, second, screen);
}

} // namespace vlr
