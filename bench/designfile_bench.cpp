// Reading and writing a large design (100,000 items, about 67 MB), in memory and as a file.
#include "largedesign.h"

#include "model/designfile.h"
#include "model/itemlist.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

vlr::ItemList LargeDesign() {
    vlr::ItemList list;
    vlr::FixedAnswerPrompt prompt(vlr::PromptAnswer::No);
    vlr::ReadDesignFromMemory(vlr::bench::LargeDesignBytes(), list, prompt);
    return list;
}

std::string TempPath() {
    return (std::filesystem::temp_directory_path() / "vlr-bench-design.vlrn").string();
}

void ReadDesignFromMemory(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = vlr::bench::LargeDesignBytes();
    vlr::FixedAnswerPrompt prompt(vlr::PromptAnswer::No);
    for (auto _ : state) {
        vlr::ItemList list;
        bool ok = vlr::ReadDesignFromMemory(bytes, list, prompt).ok();
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["fileMB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(ReadDesignFromMemory)->Unit(benchmark::kMillisecond);

void ReadDesignFromFile(benchmark::State& state) {
    vlr::ItemList source = LargeDesign();
    vlr::WriteDesign(TempPath(), source);
    vlr::FixedAnswerPrompt prompt(vlr::PromptAnswer::No);
    for (auto _ : state) {
        vlr::ItemList list;
        bool ok = vlr::ReadDesign(TempPath(), list, prompt).ok();
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(TempPath())));
    std::filesystem::remove(TempPath());
}
BENCHMARK(ReadDesignFromFile)->Unit(benchmark::kMillisecond);

void WriteDesignToMemory(benchmark::State& state) {
    vlr::ItemList list = LargeDesign();
    std::vector<uint8_t> out;
    for (auto _ : state) {
        bool ok = vlr::WriteDesignToMemory(list, out);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
}
BENCHMARK(WriteDesignToMemory)->Unit(benchmark::kMillisecond);

// Includes flushing the new file to disk before it replaces the previous one.
void WriteDesignToFile(benchmark::State& state) {
    vlr::ItemList list = LargeDesign();
    for (auto _ : state) {
        bool ok = vlr::WriteDesign(TempPath(), list);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(TempPath())));
    std::filesystem::remove(TempPath());
}
BENCHMARK(WriteDesignToFile)->Unit(benchmark::kMillisecond);

} // namespace
