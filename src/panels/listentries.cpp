// Owner-drawn list entries.
#include "panels/listentries.h"

#include "model/numeric.h"
#include "render/dashpattern.h"
#include "render/rastercanvas.h"

#include <QPainter>

#include <algorithm>

namespace vlr {

namespace {

constexpr int kNameAfterSwatch = 29;
constexpr int kNameAfterBar = 26;
constexpr int kNameAfterDashes = 46;
constexpr int kBarLeft = 2;
constexpr int kBarRight = 19;     // first pixel right of the bar
constexpr int kDashesRight = 40;  // first pixel right of a dash sample

void DrawName(QPainter& painter, const QRect& rect, int fontSize, int left, const QString& text) {
    const int top = EntryTextTop(rect, fontSize);
    painter.setPen(Qt::black);
    painter.drawText(QRect(rect.left() + left, top, std::max(0, rect.right() - rect.left() - left), rect.bottom() - top + 1),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

// A one-pixel black frame drawn as four filled strips: whole pixels at every density.
void Frame(QPainter& painter, const QRect& box) {
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), Qt::black);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), Qt::black);
    painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), Qt::black);
    painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), Qt::black);
}

// The swatch or sample box: from (R.left + 3, R.top + 3) up to, not including,
// (R.left + 21, R.bottom - 3) where R.bottom is the first row below the entry.
QRect SampleBox(const QRect& rect) {
    return QRect(rect.left() + 3, rect.top() + 3, 18, std::max(1, rect.height() - 6));
}

// A bar centred vertically in the entry, spanning the weight preview's columns.
void Bar(QPainter& painter, const QRect& rect, int height, const QColor& colour) {
    const int top = rect.top() + (rect.height() - height) / 2;
    painter.fillRect(QRect(rect.left() + kBarLeft, top, kBarRight - kBarLeft, height).intersected(rect), colour);
}

// Almost white would not show on the list's background.
QColor VisiblePreview(const QColor& preview) {
    if (preview.red() > 250 && preview.green() > 250 && preview.blue() > 250) {
        return QColor(0xC0, 0xC0, 0xC0);
    }
    return preview;
}

} // namespace

int EntryTextTop(const QRect& rect, int fontSize) {
    const int t = fontSize == 8 ? 1 : 3;
    return rect.top() + 3 - t;
}

void PaintColourItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry) {
    if (entry.customize) {
        DrawName(painter, rect, fontSize, 3, entry.text);
        return;
    }
    if (entry.swatch.isValid()) {
        const QRect box = SampleBox(rect);
        if (entry.swatch.alpha() > 0) {
            painter.fillRect(box, entry.swatch);
        }
        Frame(painter, box);
    }
    DrawName(painter, rect, fontSize, kNameAfterSwatch, entry.text);
}

void PaintWeightItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry) {
    if (entry.customize) {
        DrawName(painter, rect, fontSize, 3, entry.text);
        return;
    }
    const int h = rect.height();
    const QColor colour = VisiblePreview(entry.preview);
    if (entry.builtIn) {
        Bar(painter, rect, std::min(std::max(0, entry.barPixels), h) + 1, colour);
    } else if (entry.barPixels > 0 && entry.barPixels <= h) {
        Bar(painter, rect, entry.barPixels, colour);
    }
    DrawName(painter, rect, fontSize, kNameAfterBar, entry.text);
}

void PaintFrameWeightItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry) {
    if (entry.customize || entry.none) {
        DrawName(painter, rect, fontSize, 3, entry.text);
        return;
    }
    const int h = rect.height();
    const QColor colour = VisiblePreview(entry.preview);
    if (entry.builtIn) {
        const int q = std::min(std::max(0, entry.barPixels), h);
        // Thin frames are lines of their pen width (a pen of 0 draws one pixel).
        Bar(painter, rect, q <= 2 ? std::max(1, q) : q + 1, colour);
    } else if (entry.barPixels > 0 && entry.barPixels <= h) {
        Bar(painter, rect, entry.barPixels, colour);
    }
    DrawName(painter, rect, fontSize, kNameAfterBar, entry.text);
}

void PaintShadowItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry) {
    if (!entry.sample) {
        DrawName(painter, rect, fontSize, 3, entry.text);
        return;
    }
    // A small white card with its shadow: the higher the card, the farther the shadow falls,
    // the lighter the setting, the paler the shadow.
    const QRect box = SampleBox(rect);
    const int offset = std::clamp(entry.elevation / 20, 1, 4);
    const int grey = std::clamp(entry.lightness, 0, 255);
    const QRect card(box.left(), box.top(), box.width() - 5, std::max(1, box.height() - offset));
    painter.fillRect(card.translated(offset, offset).intersected(box), QColor(grey, grey, grey));
    painter.fillRect(card, Qt::white);
    Frame(painter, card);
    DrawName(painter, rect, fontSize, kNameAfterSwatch, entry.text);
}

void PaintPatternItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry) {
    if (entry.customize) {
        DrawName(painter, rect, fontSize, 3, entry.text);
        return;
    }
    const int top = rect.top() + rect.height() / 2 - 1;
    const int right = rect.left() + kDashesRight;
    int x = rect.left() + 3;
    if (entry.dashes.empty()) {
        painter.fillRect(QRect(x, top, right - x, 2), Qt::black);
    } else {
        size_t step = 0;
        while (x < right) {
            const int length = std::max(1, entry.dashes[step % entry.dashes.size()]);
            if (step % 2 == 0) {
                painter.fillRect(QRect(x, top, std::min(length, right - x), 2), Qt::black);
            }
            x += length;
            ++step;
        }
    }
    DrawName(painter, rect, fontSize, kNameAfterDashes, entry.text);
}

void PaintListEntry(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry) {
    switch (entry.kind) {
    case EntryKind::Colour:
        PaintColourItem(painter, rect, fontSize, entry);
        break;
    case EntryKind::Weight:
        PaintWeightItem(painter, rect, fontSize, entry);
        break;
    case EntryKind::FrameWeight:
        PaintFrameWeightItem(painter, rect, fontSize, entry);
        break;
    case EntryKind::Shadow:
        PaintShadowItem(painter, rect, fontSize, entry);
        break;
    case EntryKind::Pattern:
        PaintPatternItem(painter, rect, fontSize, entry);
        break;
    case EntryKind::Text:
        DrawName(painter, rect, fontSize, 3, entry.text);
        break;
    }
}

std::vector<ListEntry> EntriesOf(EntryKind kind, const StyleList& list, const TParams& params,
                                 const std::vector<QColor>& swatches, int32_t preview) {
    const StyleSlots& slots = params.slots;
    // The custom entries start after "Customize..."; the slot map tells their slots.
    int customize = -1;
    for (int i = 0; i < list.count(); ++i) {
        if (list.entries[static_cast<size_t>(i)] == kCustomize) {
            customize = i;
            break;
        }
    }
    auto slotOf = [&](int position) -> int {
        const int k = position - customize - 1;
        if (customize < 0 || k < 0 || k >= kSlotCount) {
            return 0;
        }
        const int32_t slot = list.slotMap[static_cast<size_t>(k)];
        return slot >= 1 && slot <= kSlotCount ? slot : 0;
    };
    // A list given swatches is a colour list whatever it was set up as.
    if (kind == EntryKind::Text && !swatches.empty()) {
        kind = EntryKind::Colour;
    }
    std::vector<ListEntry> entries;
    StyleList probe = list;
    for (int i = 0; i < list.count(); ++i) {
        ListEntry entry;
        entry.kind = kind;
        entry.text = QString::fromStdString(list.entries[static_cast<size_t>(i)]);
        entry.customize = i == customize;
        entry.builtIn = customize < 0 || i < customize;
        entry.preview = preview < 0 ? QColor(Qt::black) : QColor(QRgbFromColour(preview));
        probe.selected = i;
        const bool swatched = static_cast<size_t>(i) < swatches.size() && swatches[static_cast<size_t>(i)].isValid();
        if (swatched) {
            entry.swatch = swatches[static_cast<size_t>(i)];
        }
        if (entry.kind == EntryKind::Colour && entry.text.isEmpty()) {
            entry.text = "Custom"; // a dialog or custom colour carries no name of its own
        }
        if (!entry.customize) {
            switch (kind) {
            case EntryKind::Weight:
            case EntryKind::FrameWeight:
                if (entry.builtIn) {
                    const double mm = kind == EntryKind::Weight ? WeightAt(probe, slots) : FrameWeightAt(probe, slots);
                    entry.barPixels = nearest(mm * params.pxPerMmY());
                    entry.none = kind == EntryKind::FrameWeight && i == 0;
                } else if (const int slot = slotOf(i)) {
                    entry.barPixels = slots.weights[static_cast<size_t>(slot - 1)].pixels;
                }
                break;
            case EntryKind::Shadow:
                // "None" draws no sample, nor do the custom shadows.
                if (entry.builtIn && i >= 1) {
                    int32_t elevation = 0, fade = 0, lightness = 0;
                    ShadowAt(list, slots, i, elevation, fade, lightness);
                    entry.sample = true;
                    entry.elevation = elevation;
                    entry.fade = fade;
                    entry.lightness = lightness;
                }
                break;
            case EntryKind::Pattern:
                if (entry.builtIn) {
                    const DashPattern pattern = StandardDashPattern(i, 2);
                    if (pattern.count > 1) {
                        entry.dashes.assign(pattern.lengths.begin(), pattern.lengths.begin() + pattern.count);
                    }
                } else if (const int slot = slotOf(i)) {
                    const custPatternRec_t& rec = slots.patterns[static_cast<size_t>(slot - 1)];
                    const int used = std::clamp(rec.count, 0, 12);
                    entry.dashes.assign(rec.pixels.begin(), rec.pixels.begin() + used);
                }
                break;
            default:
                break;
            }
        }
        entries.push_back(entry);
    }
    return entries;
}

} // namespace vlr
