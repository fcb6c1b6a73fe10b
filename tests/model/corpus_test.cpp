// Damaged design files and the fuzzing corpus, replayed: the reader keeps its promise on each.
#include "readdesign_property.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vlr::test {
namespace {

void ReplayFolder(const std::filesystem::path& folder, size_t expectedAtLeast) {
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".py" ||
            entry.path().extension() == ".md") {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(CheckReadDesignPromise(bytes), "") << entry.path().filename();
        ++replayed;
    }
    EXPECT_GE(replayed, expectedAtLeast);
}

TEST(DamagedFiles, TheReaderFailsCleanlyOrReadsASettledDesign) {
    ReplayFolder(VLR_CORPUS_DIR "/corpus", 20);
}

TEST(DamagedFiles, FuzzingCorpusReplays) {
    ReplayFolder(VLR_CORPUS_DIR "/fuzz-corpus", 1);
}

} // namespace
} // namespace vlr::test
