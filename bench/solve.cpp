// The level tool's solver on each level in the game's data: the shortest
// plan through both boards at once.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "cGame.h"
#include "solver.h"

namespace {

level::Board readBoard(const std::string& path) {
    level::Board board{};
    std::ifstream(path, std::ios::binary)
        .read(reinterpret_cast<char*>(board.data()), static_cast<std::streamsize>(board.size()));
    return board;
}

void solve(benchmark::State& state) {
    const std::string n = std::to_string(state.range(0));
    level::cLevel level;
    level.mLeft = readBoard("data/levels/lumora" + n + ".map");
    level.mRight = readBoard("data/levels/vexmoor" + n + ".map");
    level::cPlan plan;
    for (auto _ : state) {
        plan = level::solveLevel(level);
        benchmark::DoNotOptimize(plan.mOrders.data());
    }
    state.counters["solved"] = plan.mSolved ? 1 : 0;
    state.counters["orders"] = static_cast<double>(plan.mOrders.size());
}
BENCHMARK(solve)->DenseRange(1, cGame::kLevels)->Unit(benchmark::kMillisecond);

} // namespace
