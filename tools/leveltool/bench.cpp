// Time to find the shortest plan of each shipped level, both boards together.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "solver.h"

namespace {

level::Board readBoard(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    level::Board board{};
    in.read(reinterpret_cast<char*>(board.data()), static_cast<std::streamsize>(board.size()));
    return board;
}

void solveShipped(benchmark::State& state) {
    const std::string n = std::to_string(state.range(0));
    level::cLevel level;
    level.mLeft = readBoard(std::string(LV_LEVEL_DIR) + "/lumora" + n + ".map");
    level.mRight = readBoard(std::string(LV_LEVEL_DIR) + "/vexmoor" + n + ".map");
    std::size_t orders = 0;
    for (auto _ : state) {
        const level::cPlan plan = level::solveLevel(level);
        orders = plan.mOrders.size();
        benchmark::DoNotOptimize(orders);
    }
    state.counters["orders"] = static_cast<double>(orders);
}

} // namespace

BENCHMARK(solveShipped)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
