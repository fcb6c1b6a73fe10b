// The picture editor without its window: the picture it loaded, decoded at the scale its view
// needs, its zoom and orientation, the insert mode and the clip outlines. The page and the view
// show this state; tests drive it directly.
#pragma once

#include "model/itemrecord.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace vlr {

inline constexpr const char* kNotAValidFile = "This is not a valid file.";

namespace InsertMode {
inline constexpr int32_t EntireImage = 0;
inline constexpr int32_t Clips = 1;
inline constexpr int32_t RoundClips = 2;
} // namespace InsertMode

// JPEG decode scales: the picture's size is divided by 2 to their power while decoding.
namespace DecodeScale {
inline constexpr int32_t Full = 0;
inline constexpr int32_t Half = 1;
inline constexpr int32_t Quarter = 2;
inline constexpr int32_t Eighth = 3;
} // namespace DecodeScale

// The display scale relative to the full-size picture.
inline constexpr double kMinEditorZoom = 0.01;
inline constexpr double kMaxEditorZoom = 3.0;

// A file larger than this is no picture a card is made from; it is refused before it is read,
// so that a wrong choice in the Open dialog cannot fill the memory.
inline constexpr int64_t kMaxPictureFileBytes = int64_t{512} << 20;

// The format code of a picture file by its extension (trimmed, without dots, in any case):
// "JPG" and "JPEG" 4, "GIF" 1, "BMP" 2, "ICO" 3, "EMF" and "WMF" 5; 0 for any other.
int32_t PictureFormatOfPath(const QString& path);

// A JPEG is decoded at one eighth first; with k = min(view width / eighth width, view height /
// eighth height) in whole numbers, it is shown at an eighth for k < 2, a quarter for k = 2 or 3,
// half for k = 4 ... 7 and full size from 8 on.
int32_t InitialDecodeScale(QSize eighth, QSize view);
// The finest scale a zoom of percent whole percent needs: an eighth below 25, a quarter below
// 50, half below 100, full size from 100 on.
int32_t DecodeScaleForPercent(int32_t percent);
// What the zoom buttons give from a zoom: the next step of 12.5, 25, 50, 100, 125, 150, 175,
// 200 and 300 percent below or above its whole percentage (12.5 % and 25 % from below 25 %,
// 200 % and 300 % from above 200 %).
double ZoomOutFrom(double zoom);
double ZoomInFrom(double zoom);
// The zoom track bar's position (1 ... 300) showing a zoom.
int TrackPosition(double zoom);

struct PictureEditor {
    std::string fileName;
    int32_t format = 0;
    // The file's bytes as loaded: what the picture data record of the design will hold.
    std::vector<uint8_t> stream;
    // The picture at full size, as stored (before mirroring and turning).
    QSize fullSize;
    int32_t decodeScale = DecodeScale::Full;
    // The picture decoded at decodeScale, and the same raster oriented as it is shown.
    QImage raster;
    QImage oriented;
    double editorZoom = 1.0;
    int32_t mirrorX = 1, mirrorY = 1; // +1, or -1 mirrored left to right / flipped top to bottom
    int32_t turn = 0;                 // degrees: 0, 90, 180 or 270
    int32_t insertMode = InsertMode::EntireImage;
    // ClipOutline records in full-size pixels of the oriented picture, with their own undo.
    ItemList clips;

    bool loaded() const { return !raster.isNull(); }
};

// Takes a picture: the stream decoded by its format code (a JPEG at the scale its view needs),
// the zoom at the decode scale, no mirror, no turn, no clips. A stream that does not decode, a
// picture beyond the decoders' limits or one of a single row or column leaves the editor empty
// and gives false.
bool LoadPicture(PictureEditor& editor, std::vector<uint8_t> stream, int32_t format,
                 const std::string& fileName, QSize view);
// The same from a file, the format by its extension. An unknown extension, a file that cannot
// be read or one larger than kMaxPictureFileBytes gives false as well.
bool LoadPictureFile(PictureEditor& editor, const QString& path, QSize view);
// Empties the editor.
void ClearPicture(PictureEditor& editor);

// Sets the zoom (kept within kMinEditorZoom ... kMaxEditorZoom). A JPEG is decoded again when the
// zoom needs a finer scale than it has, never at a coarser one; when that decode fails the
// picture stays as it was.
void SetEditorZoom(PictureEditor& editor, double zoom);

// Orientation commands; clips keep their coordinates.
void MirrorPicture(PictureEditor& editor); // left to right as the picture is shown
void FlipPicture(PictureEditor& editor);   // top to bottom as the picture is shown
void TurnPictureLeft(PictureEditor& editor);
void TurnPictureRight(PictureEditor& editor);
// Mirror signs and turn at once, as stored with a clip (turn counted in quarter turns).
void SetOrientation(PictureEditor& editor, int32_t mirrorX, int32_t mirrorY, int32_t turn);

// The full-size picture as it is shown, in full-size pixels: width and height swapped for a
// quarter turn, which drops the last column and row of an odd-sized picture first, as drawing
// the placed picture does.
QSize OrientedSize(const PictureEditor& editor);

} // namespace vlr
