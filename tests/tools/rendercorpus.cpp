// Writes the render corpus: ordinary designs (a text, a shape and a shadowed clip) whose clip
// shows one of the damaged pictures, and designs whose clip has hostile fields. Each is rendered
// by its own test, which expects a picture and no crash.
//
// usage: rendercorpus DAMAGED_FOLDER OUT_FOLDER CLIP_CASE...
// Every file of DAMAGED_FOLDER (but the script that made them) becomes OUT_FOLDER/NAME.vlrn; the
// clip cases listed must be exactly the ones this program knows, so the test list and the
// corpus cannot drift apart.
#include "renderdesigns.h"

#include "model/itemkind.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vlr::test {
namespace {

constexpr int32_t kPictureId = 7;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The format code a damaged picture is stored under, from the start of its name.
const std::map<std::string, int32_t> kFormats = {{"gif", 1}, {"bmp", 2}, {"ico", 3}, {"jpeg", 4}, {"wmf", 5}};

void Place(ItemRecord& clip, const ItemList& design, Point from, Point to) {
    clip.x1 = from.x, clip.y1 = from.y, clip.x2 = to.x, clip.y2 = to.y;
    SetWorldFromPixels(&clip, design.screen);
}

// A 3 1/2 x 2 inch page with a text, a filled shape and a clip with a soft shadow that shows the
// top-left 24 x 16 pixels of the picture (the damaged pictures come from 32 x 24 ones) three
// times enlarged.
ItemList Design(int32_t format, std::vector<uint8_t> picture, ItemRecord** clipOut) {
    ItemList design = PageDesign(3, 3.5, 2.0);
    AddText(design, {12, 40}, u"Damaged pictures\u07ECdraw what they can");
    ItemRecord* box = AddBox(design, {200, 20, 300, 90}, 0x40A0FF);
    box->shadowElevation = 40;
    AddPicture(design, kPictureId, format, std::move(picture));
    ItemRecord* clip = AddClip(design, kPictureId, {40, 80}, 24, 16);
    Place(*clip, design, {40, 80}, {112, 128});
    clip->shadowElevation = 60;
    clip->shadowFade = 30;
    clip->shadowLightness = 80;
    *clipOut = clip;
    return design;
}

using ClipCase = std::function<void(ItemRecord& clip, ItemList& design)>;

const std::map<std::string, ClipCase>& ClipCases() {
    static const std::map<std::string, ClipCase> cases = {
        {"clip-cut-of-the-whole-int32-range",
         [](ItemRecord& clip, ItemList&) {
             clip.clipShape = ClipShape::Rectangle;
             clip.srcLeft = INT32_MIN, clip.srcTop = INT32_MIN, clip.srcRight = INT32_MAX,
             clip.srcBottom = INT32_MAX;
         }},
        {"clip-cut-left-of-and-above-the-picture",
         [](ItemRecord& clip, ItemList&) {
             clip.clipShape = ClipShape::Rectangle;
             clip.srcLeft = -500, clip.srcTop = -400, clip.srcRight = -10, clip.srcBottom = -5;
         }},
        {"clip-cut-reversed-beyond-the-picture",
         [](ItemRecord& clip, ItemList&) {
             clip.clipShape = ClipShape::Rectangle;
             clip.srcLeft = 100000, clip.srcTop = 90000, clip.srcRight = 50, clip.srcBottom = -60000;
         }},
        {"clip-rotation-nan", [](ItemRecord& clip, ItemList&) { clip.rotation = clip.rotationBase = kNaN; }},
        {"clip-rotation-infinite",
         [](ItemRecord& clip, ItemList&) {
             clip.rotation = kInfinity;
             clip.rotationBase = -kInfinity;
         }},
        {"clip-rotation-huge", [](ItemRecord& clip, ItemList&) { clip.rotation = 1e300; }},
        {"clip-of-zero-size",
         [](ItemRecord& clip, ItemList& design) {
             Place(clip, design, {100, 60}, {100, 60});
         }},
        {"clip-of-huge-size",
         [](ItemRecord& clip, ItemList& design) {
             Place(clip, design, {-2'000'000'000, -2'000'000'000}, {2'000'000'000, 2'000'000'000});
         }},
        {"clip-scales-nan-and-huge",
         [](ItemRecord& clip, ItemList&) {
             clip.scaleX = kNaN;
             clip.scaleY = -1e308;
             clip.pictureScale = kInfinity;
         }},
        {"clip-adjustments-at-int32-max",
         [](ItemRecord& clip, ItemList&) {
             clip.saturation = INT32_MAX, clip.contrast = INT32_MAX, clip.lightness = INT32_MAX;
         }},
        {"clip-adjustments-at-int32-min",
         [](ItemRecord& clip, ItemList&) {
             clip.saturation = INT32_MIN, clip.contrast = INT32_MIN, clip.lightness = INT32_MIN;
         }},
        {"clip-of-a-missing-picture", [](ItemRecord& clip, ItemList&) { clip.pictureId = kPictureId + 1; }},
        {"clip-round-cut-outside-the-picture",
         [](ItemRecord& clip, ItemList& design) {
             clip.clipShape = ClipShape::Round;
             Place(clip, design, {120, 100}, {150, 100});
             clip.srcLeft = 5000, clip.srcTop = -7000, clip.srcRight = 5100, clip.srcBottom = -6900;
         }},
        {"clip-round-of-huge-radius",
         [](ItemRecord& clip, ItemList& design) {
             clip.clipShape = ClipShape::Round;
             Place(clip, design, {120, 100}, {2'000'000'000, -2'000'000'000});
         }},
        {"clip-frame-of-huge-weight",
         [](ItemRecord& clip, ItemList&) {
             clip.hasFrame = 1;
             clip.lineWeight = 1e12;
             clip.surface = 255;
         }},
        {"clip-mirrors-turns-and-shadow-out-of-range",
         [](ItemRecord& clip, ItemList&) {
             clip.mirrorX = 0, clip.mirrorY = -7, clip.turnAngle = INT32_MIN;
             clip.shadowElevation = 255, clip.shadowFade = 255, clip.shadowLightness = 255;
         }},
    };
    return cases;
}

std::vector<uint8_t> Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Write(ItemList& design, const std::filesystem::path& folder, const std::string& name) {
    return Save(design, (folder / (name + ".vlrn")).string());
}

int Run(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: rendercorpus DAMAGED_FOLDER OUT_FOLDER CLIP_CASE...\n";
        return 2;
    }
    const std::filesystem::path damaged = argv[1], out = argv[2];
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error) {
        std::cerr << "cannot make " << out << ": " << error.message() << '\n';
        return 1;
    }
    int written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(damaged)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".py") {
            continue;
        }
        const auto format = kFormats.find(name.substr(0, name.find('-')));
        if (format == kFormats.end()) {
            std::cerr << name << ": no picture format goes by that name\n";
            return 1;
        }
        ItemRecord* clip = nullptr;
        ItemList design = Design(format->second, Load(entry.path()), &clip);
        if (!Write(design, out, name)) {
            return 1;
        }
        ++written;
    }

    const std::set<std::string> listed(argv + 3, argv + argc);
    std::set<std::string> known;
    for (const auto& [name, change] : ClipCases()) {
        known.insert(name);
        ItemRecord* clip = nullptr;
        ItemList design = Design(2, QuarteredBitmap(), &clip);
        change(*clip, design);
        if (!Write(design, out, name)) {
            return 1;
        }
        ++written;
    }
    if (listed != known) {
        std::cerr << "the clip cases listed are not the ones this program makes\n";
        return 1;
    }
    std::cout << written << " designs in " << out << '\n';
    return 0;
}

} // namespace
} // namespace vlr::test

int main(int argc, char** argv) {
    return vlr::test::Run(argc, argv);
}
