// Damaged and hostile pictures (see damaged/make_damaged.py) and the fuzzing corpus, replayed:
// the decoders refuse what must be refused and keep their promise on everything.
#include "picture_property.h"

#include "render/picturedecode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace vlr::test {
namespace {

std::vector<uint8_t> Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DamagedPictures, EachIsRefusedOrDecodedSafelyUnderEveryFormatCode) {
    const std::map<std::string, int32_t> formats = {{"gif", PictureFormat::Gif},
                                                    {"bmp", PictureFormat::Bitmap},
                                                    {"ico", PictureFormat::Icon},
                                                    {"jpeg", PictureFormat::Jpeg},
                                                    {"wmf", PictureFormat::Metafile}};
    int refusedChecked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VLR_DAMAGED_DIR)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".py") {
            continue;
        }
        const std::vector<uint8_t> bytes = Load(entry.path());
        const std::string prefix = name.substr(0, name.find('-'));
        ASSERT_TRUE(formats.contains(prefix)) << name;
        bool decoded = false;
        EXPECT_EQ(CheckDecodePromise(bytes, formats.at(prefix), 0, &decoded), "") << name;
        if (name.starts_with(prefix + "-refused-")) {
            EXPECT_FALSE(decoded) << name << " must not decode";
            ++refusedChecked;
        }
        for (int32_t format = 0; format <= 6; ++format) {
            EXPECT_EQ(CheckDecodePromise(bytes, format, 3), "") << name << " as format " << format;
        }
    }
    EXPECT_GE(refusedChecked, 25);
}

TEST(DamagedPictures, FuzzingCorpusReplays) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VLR_PICTURE_FUZZ_CORPUS_DIR)) {
        const std::vector<uint8_t> input = Load(entry.path());
        if (input.size() < 2) {
            continue;
        }
        // The fuzzer's layout: format byte, reduction byte, the stream.
        EXPECT_EQ(CheckDecodePromise(std::span(input).subspan(2), input[0] % 6, input[1] % 4), "")
            << entry.path().filename();
        ++replayed;
    }
    EXPECT_GE(replayed, 1);
}

} // namespace
} // namespace vlr::test
