// The puzzle model on its own: reading a level file, and one forward order
// that carries a hero down a long slide chain.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "cWorld.h"
#include "soundCue.h"
#include "tile.h"

namespace {

void loadMap(benchmark::State& state) {
    const std::string path = "data/levels/lumora1.map";
    cWorld world(false);
    for (auto _ : state) world.loadMap(path);
    if (world.getHero() == nullptr) state.SkipWithError("data/levels/lumora1.map placed no hero");
}
BENCHMARK(loadMap);

// Column 0: the hero at the top facing south, eleven slide cells, a floor at
// the bottom. An order carries the hero over all twelve cells; turned about,
// the next order carries it back, so every iteration is the same walk.
void slideOrder(benchmark::State& state) {
    unsigned char cells[tile::kCells] = {};
    cells[tile::cellIndex(0, 0)] = tile::kHeroMark | 1;
    for (int y = 1; y < tile::kRows - 1; ++y) cells[tile::cellIndex(0, y)] = tile::kSlide | 1;
    cells[tile::cellIndex(0, tile::kRows - 1)] = 1;
    std::ofstream("chain.map", std::ios::binary).write(reinterpret_cast<const char*>(cells), sizeof cells);

    const soundCue::Sink game = soundCue::setSink(nullptr); // the model alone; sounds are measured apart
    cWorld world(false);
    world.loadMap("chain.map");
    world.moveHeroForward();
    if (world.getHero() == nullptr || world.getHero()->getY() != tile::kRows - 1) {
        state.SkipWithError("the slide chain did not carry the hero to the bottom");
    }
    for (auto _ : state) {
        cHero* hero = world.getHero();
        hero->rotCW();
        hero->rotCW();
        benchmark::DoNotOptimize(world.moveHeroForward());
    }
    soundCue::setSink(game);
}
BENCHMARK(slideOrder);

} // namespace
