// Writing the full wheel at N 39 (15,380,937 rows, about 441 MB) against a plain sequential write of
// the same number of bytes to the same folder. The folder is QUILLSTEP_BENCH_DIR, or the current one.
// Both start from a folder without the file; replacing an existing file adds the system's cost of
// freeing the old one, measured on its own.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "files/combination_file.h"
#include "windows/file_reports.h"
#include "app/generation_command.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {
namespace {

std::filesystem::path benchFolder() {
    const char* folder = std::getenv("QUILLSTEP_BENCH_DIR");
    return folder ? std::filesystem::path(folder) : std::filesystem::current_path();
}

SharedState& fullWheel() {
    static const auto state = [] {
        auto s = createSharedState();
        HeadlessPlatform platform;
        runGenerationCommand(*s, platform, 2);
        s->outputFolder = benchFolder();
        return s;
    }();
    return *state;
}

void writeFullWheel(benchmark::State& b, bool replacing) {
    SharedState& state = fullWheel();
    HeadlessPlatform platform;
    for (auto _ : b) {
        if (!replacing) {
            b.PauseTiming();
            std::filesystem::remove(state.outputFolder / COMBINATION_FILE_NAME);
            b.ResumeTiming();
        }
        const FileWriteResult result = writeCombinationFile(state, platform);
        if (!result.written) b.SkipWithError(result.error.c_str());
    }
    const auto bytes = std::filesystem::file_size(state.outputFolder / COMBINATION_FILE_NAME);
    b.SetBytesProcessed(int64_t(bytes) * b.iterations());
    std::filesystem::remove(state.outputFolder / COMBINATION_FILE_NAME);
}
void BM_WriteFullWheel(benchmark::State& b) { writeFullWheel(b, false); }
void BM_ReplaceFullWheelFile(benchmark::State& b) { writeFullWheel(b, true); }
BENCHMARK(BM_WriteFullWheel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ReplaceFullWheelFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The floor: the same bytes in 1 MiB blocks with nothing to format.
void BM_PlainSequentialWrite(benchmark::State& b) {
    SharedState& state = fullWheel();
    HeadlessPlatform platform;
    writeCombinationFile(state, platform);
    const auto path = state.outputFolder / COMBINATION_FILE_NAME;
    const auto bytes = std::filesystem::file_size(path);
    std::filesystem::remove(path);
    std::vector<char> block(size_t{1} << 20, '7');
    const auto plain = state.outputFolder / "plain-write.bin";
    for (auto _ : b) {
        b.PauseTiming();
        std::filesystem::remove(plain);
        b.ResumeTiming();
        std::FILE* f = std::fopen(plain.string().c_str(), "wb");
        std::setvbuf(f, nullptr, _IONBF, 0);
        for (uintmax_t left = bytes; left > 0;) {
            const size_t n = size_t(std::min<uintmax_t>(left, block.size()));
            std::fwrite(block.data(), 1, n, f);
            left -= n;
        }
        std::fclose(f);
    }
    b.SetBytesProcessed(int64_t(bytes) * b.iterations());
    std::filesystem::remove(plain);
}
BENCHMARK(BM_PlainSequentialWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
}  // namespace quillstep

BENCHMARK_MAIN();
