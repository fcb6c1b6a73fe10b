// The owner-drawn entries of the side panels' pull-down lists: colour swatches, weight bars,
// frame weights, shadow samples and dash samples in front of the entry's name. Every length
// here is in logical pixels; the painter maps them to the screen, so the entries are drawn
// afresh, and sharp, at any screen density.
#pragma once

#include "settings/params.h"
#include "settings/stylelists.h"

#include <QColor>
#include <QMetaType>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

namespace vlr {

enum class EntryKind { Text, Colour, Weight, FrameWeight, Shadow, Pattern };

// What one entry shows.
struct ListEntry {
    EntryKind kind = EntryKind::Text;
    QString text;
    bool customize = false; // the "Customize..." entry: its text only, from the left
    bool builtIn = true;
    // Colour entries: the swatch's colour; invalid for no swatch, transparent for a frame only.
    QColor swatch;
    // Weight entries: the bar's height in pixels, before the entry's height limits it; for the
    // built-in weights round(millimetres x pixels per millimetre), for custom ones the slot's.
    int barPixels = 0;
    // The colour of the line the weights are for.
    QColor preview = Qt::black;
    // Frame weight "None": no bar.
    bool none = false;
    // Shadow entries with a sample picture: elevation, fade and lightness.
    bool sample = false;
    int elevation = 0, fade = 0, lightness = 0;
    // Pattern entries: dash, gap, dash ... in pixels; empty for a solid line.
    std::vector<int> dashes;
};

// The top of an entry's text: R.top + 3 - t, where t is 1 for a list font of size 8, else 3.
int EntryTextTop(const QRect& rect, int fontSize);

// Each paints the entry into rect on the list's background (already filled), text in black.
void PaintColourItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry);
void PaintWeightItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry);
void PaintFrameWeightItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry);
void PaintShadowItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry);
void PaintPatternItem(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry);
// Chooses the painter by the entry's kind; plain text entries start at R.left + 3.
void PaintListEntry(QPainter& painter, const QRect& rect, int fontSize, const ListEntry& entry);

// The entries of a built list as its kind shows them. swatches: the colours of a colour or fill
// list (ColourSwatches), one per entry; preview: the colour weight bars are drawn in.
std::vector<ListEntry> EntriesOf(EntryKind kind, const StyleList& list, const TParams& params,
                                 const std::vector<QColor>& swatches, int32_t preview);

} // namespace vlr

Q_DECLARE_METATYPE(vlr::ListEntry)
