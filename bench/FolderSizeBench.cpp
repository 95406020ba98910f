// The folder walk with one thread against several, on one tree in the same run, warm and (as root)
// with the page cache dropped before every walk. The tree is the folder named by
// MORVANE_BENCH_TREE, or else one of 20000 small files in 200 folders made in the temporary folder
// for this run and removed after it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/host/posix/FolderSize.h"
#include "platform/host/posix/TreeWalk.h"

namespace {

namespace fs = std::filesystem;

class BenchTree {
  public:
    BenchTree() {
        if (const char* given = std::getenv("MORVANE_BENCH_TREE")) {
            path_ = given;
            return;
        }
        std::string pattern = (fs::temp_directory_path() / "morvane-walk-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        made_ = true;
        for (int folder = 0; folder < 200; ++folder) {
            const fs::path dir = fs::path(path_) / "cstrike" / "maps" / std::to_string(folder);
            fs::create_directories(dir);
            for (int file = 0; file < 100; ++file) {
                std::ofstream(dir / std::to_string(file)) << std::string(200 + file, 'x');
            }
        }
    }
    BenchTree(const BenchTree&) = delete;
    BenchTree& operator=(const BenchTree&) = delete;
    ~BenchTree() {
        std::error_code ec;
        if (made_)
            fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool made_ = false;
};

const BenchTree& tree() {
    static const BenchTree instance;
    return instance;
}

void walkWithThreads(benchmark::State& state) {
    const auto workers = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(morvane::posix::sumRegularFiles(tree().path(), workers));
    }
}
BENCHMARK(walkWithThreads)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Empties the page cache, so the next walk reads from the disk as after a reboot; false when not
// allowed (only root may).
bool dropPageCache() {
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return static_cast<bool>(drop);
}

void walkColdWithThreads(benchmark::State& state) {
    const auto workers = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        const bool dropped = dropPageCache();
        state.ResumeTiming();
        if (!dropped) {
            state.SkipWithError("the page cache can be dropped only as root");
            break;
        }
        benchmark::DoNotOptimize(morvane::posix::sumRegularFiles(tree().path(), workers));
    }
}
BENCHMARK(walkColdWithThreads)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Arg(16)
    ->Arg(32)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void folderSize(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(morvane::posix::folderSize(tree().path()));
}
BENCHMARK(folderSize)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    tree();  // made before the clock starts
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
