// Test fixtures: design files assembled byte by byte at the stored offsets, independently of the
// program's record layout, and a prompt whose answers the test chooses.
#pragma once

#include "model/prompt.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vlr::test {

// One stored record: a 448-byte body and the bytes that follow it.
struct RawRecord {
    std::array<uint8_t, 448> body{};
    std::vector<uint8_t> tail;

    RawRecord& I32(size_t offset, int32_t value) {
        std::memcpy(body.data() + offset, &value, 4);
        return *this;
    }
    RawRecord& F64(size_t offset, double value) {
        std::memcpy(body.data() + offset, &value, 8);
        return *this;
    }
    RawRecord& U8(size_t offset, uint8_t value) {
        body[offset] = value;
        return *this;
    }
    RawRecord& Tail(const std::vector<uint8_t>& bytes) {
        tail.insert(tail.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // A text tail in UTF-16 little-endian; sets tailLength unless told otherwise.
    RawRecord& TextTail(std::u16string_view text, bool setLength = true) {
        for (char16_t unit : text) {
            tail.push_back(static_cast<uint8_t>(unit & 0xFF));
            tail.push_back(static_cast<uint8_t>(unit >> 8));
        }
        if (setLength) {
            I32(112, static_cast<int32_t>(2 * text.size()));
        }
        return *this;
    }
    int32_t GetI32(size_t offset) const {
        int32_t value;
        std::memcpy(&value, body.data() + offset, 4);
        return value;
    }
};

// Stored offsets used by the fixtures.
namespace at {
inline constexpr size_t recordClass = 0, kind = 4, x1 = 16, y1 = 20, x2 = 24, y2 = 28, spanLength = 56,
                        magic = 60, selected = 64, suspended = 65, deleted = 66, zOrder = 68, worldX1 = 72,
                        worldY1 = 80, worldX2 = 88, worldY2 = 96, tailLength = 112;
// class 0 items
inline constexpr size_t fontName = 148, historyState = 229, serial = 237, undoStep = 241, replaces = 245,
                        clipShape = 285, pictureId = 289, groupId = 393, legacyTailA = 405, legacyTailB = 409;
// document header
inline constexpr size_t zoom = 116, units = 124, pxPerUnitX = 128, pxPerUnitY = 136, canvasLeft = 148,
                        canvasTop = 156, canvasWidth = 164, canvasHeight = 172, modified = 180, rows = 311,
                        columns = 315, historySaved = 321, fileVersion = 323, lightDirection = 327;
} // namespace at

inline constexpr int32_t kMagicValue = 147483647;

// A record of class 0 with a valid magic and the given kind; everything else zero.
inline RawRecord RawItem(int32_t kind) {
    RawRecord record;
    record.I32(at::kind, kind).I32(at::magic, kMagicValue);
    return record;
}

// A document header in millimetres at zoom 1, file version 164.
inline RawRecord RawHeader() {
    RawRecord record;
    record.I32(at::recordClass, 2000000).I32(at::kind, 2000000).I32(at::magic, kMagicValue);
    record.F64(at::zoom, 1.0).I32(at::units, 2).F64(at::canvasWidth, 85.0).F64(at::canvasHeight, 55.0);
    record.I32(at::fileVersion, 164);
    return record;
}

inline std::vector<uint8_t> FileOf(const std::vector<RawRecord>& records) {
    std::vector<uint8_t> bytes;
    for (const RawRecord& record : records) {
        bytes.insert(bytes.end(), record.body.begin(), record.body.end());
        bytes.insert(bytes.end(), record.tail.begin(), record.tail.end());
    }
    return bytes;
}

inline std::vector<uint8_t> PointEntry(int32_t x, int32_t y) {
    std::vector<uint8_t> entry(56, 0);
    std::memcpy(entry.data(), &x, 4);
    std::memcpy(entry.data() + 4, &y, 4);
    return entry;
}

inline std::vector<uint8_t> GridEntry(int32_t axis, int32_t position) {
    std::vector<uint8_t> entry(8, 0);
    std::memcpy(entry.data(), &axis, 4);
    std::memcpy(entry.data() + 4, &position, 4);
    return entry;
}

// Answers questions with a chosen answer and records everything it was shown.
class ScriptedPrompt : public Prompt {
public:
    explicit ScriptedPrompt(PromptAnswer answer = PromptAnswer::No) : answer_(answer) {}
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons buttons) override {
        shown.emplace_back(text);
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : answer_;
    }
    std::vector<std::string> shown;

private:
    PromptAnswer answer_;
};

} // namespace vlr::test
