// The table fill against the obvious double loop over every entry, both obtaining their
// zero-filled tables as start-up does and giving them back, in the same run. Prints the
// speed-up (of the medians when run with --benchmark_repetitions) at the end.
// Goal: FillTables at least 10 times faster than the plain fill.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "game/tables.h"

namespace {

// Every offset, as the tables were first kept.
constexpr size_t kPlainEntries = size_t{2 * kMaxDx + 1} * (2 * kMaxDy + 1);
size_t PlainIndex(int32_t dx, int32_t dy) { return size_t(dx + kMaxDx) * (2 * kMaxDy + 1) + size_t(dy + kMaxDy); }

struct PlainTables {
    int32_t* distance;
    int32_t* direction;
};

PlainTables FillPlainly() {
    PlainTables t{static_cast<int32_t*>(std::calloc(kPlainEntries, sizeof(int32_t))),
                  static_cast<int32_t*>(std::calloc(kPlainEntries, sizeof(int32_t)))};
    if (t.distance == nullptr || t.direction == nullptr) std::abort();
    for (int32_t dx = -1000; dx <= 1000; ++dx) {
        for (int32_t dy = -800; dy <= 800; ++dy) {
            const size_t at = PlainIndex(dx, dy);
            const double length = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            t.distance[at] = static_cast<int32_t>(std::lround(length));
            int32_t base = 0;
            if (dx != 0) {
                const float q = static_cast<float>(std::abs(dy)) / static_cast<float>(std::abs(dx));
                base = RadToTenths(static_cast<float>(std::atan(static_cast<double>(q))));
            } else if (dy != 0) {
                base = 900;
            }
            if (dx < 0 && dy >= 0) t.direction[at] = 1800 - base;
            else if (dx < 0) t.direction[at] = 1800 + base;
            else if (dy < 0) t.direction[at] = 3600 - base;
            else t.direction[at] = base;
        }
    }
    return t;
}

void BM_PlainFill(benchmark::State& state) {
    for (auto _ : state) {
        PlainTables t = FillPlainly();
        benchmark::DoNotOptimize(t.direction[PlainIndex(714, 709)]);
        std::free(t.distance);
        std::free(t.direction);
    }
}
BENCHMARK(BM_PlainFill)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FillTables(benchmark::State& state) {
    FreeTables();
    for (auto _ : state) {
        if (!FillTables()) {
            state.SkipWithError("no memory for the tables");
            break;
        }
        benchmark::DoNotOptimize(directionTable(714, 709));
        FreeTables();
    }
}
BENCHMARK(BM_FillTables)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the console output and remembers each benchmark's time (its median when
// repeated) to print the speed-up at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto plain = times_.find("BM_PlainFill");
        const auto fast = times_.find("BM_FillTables");
        if (plain == times_.end() || fast == times_.end() || fast->second <= 0) return;
        std::printf("speed-up of FillTables over the plain fill: %.1fx (%.2f ms against %.2f ms)\n",
                    plain->second / fast->second, fast->second, plain->second);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    // A fixed threshold keeps every calloc of a table a fresh mapping, as in a freshly started
    // program; glibc would otherwise raise it after the first free and recycle the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
