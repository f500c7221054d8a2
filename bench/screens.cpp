// A pass of the main loop against its floor, and the two caches on a hit.
//
// The floor is the least any program can spend on the same screen: the very
// blits of the pass (same pictures, as the decoder returned them, at the same
// places, in the same order) and the flip, on pictures looked up beforehand,
// with no path text and no cache. The sequence is written down from one real
// pass of the game, through the blit shim below.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "benchData.h"
#include "cGame.h"
#include "cSounds.h"
#include "cWorld.h"
#include "gameProbe.h"
#include "soundCue.h"

namespace {

struct cBlit {
    SDL_Surface* picture;
    Sint16 x;
    Sint16 y;
};

std::vector<cBlit>* gRecording = nullptr;

} // namespace

// The linker sends every SDL_UpperBlit of this program here, the game's and
// the floor's alike, so both pay the same extra call.
extern "C" int __real_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect);
extern "C" int __wrap_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect) {
    if (gRecording != nullptr && dstRect != nullptr) gRecording->push_back({src, dstRect->x, dstRect->y});
    return __real_SDL_UpperBlit(src, srcRect, dst, dstRect);
}

namespace {

using Clock = std::chrono::steady_clock;

// The CPU time of this thread: what the pass costs the machine, with the
// time other programs hold the core left out (the machine is shared).
double cpuNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Not inlined, so that a profiler can single out the measured passes
// (scripts/bench hands this name to callgrind).
[[gnu::noinline]] void timedPass(GameProbe& probe) { probe.pass(); }

// Each iteration runs one pass of the game and one of its floor, so that both
// see the same machine; the reported time is the pass's CPU time. With no
// input the heroes stand still, so every pass draws what the recorded one drew.
void passAgainstFloor(benchmark::State& state, std::int8_t mode) {
    GameProbe probe(*bench::gGame);
    probe.setLevel(static_cast<int>(state.range(0)));
    bench::gGame->reloadLevel();
    probe.setMode(mode);
    if (mode == MODE_GAME && (probe.left()->getHero() == nullptr || probe.right()->getHero() == nullptr)) {
        state.SkipWithError("a board of this level has no hero");
        return;
    }
    probe.pass(); // the first pass of a screen loads its pictures

    std::vector<cBlit> blits;
    gRecording = &blits;
    probe.pass();
    gRecording = nullptr;

    SDL_Surface* screen = probe.screen();
    double passNs = 0, blitNs = 0, flipNs = 0;
    auto gamePass = [&] {
        const double start = cpuNanoseconds();
        timedPass(probe);
        const double passed = cpuNanoseconds();
        passNs += passed - start;
        return passed - start;
    };
    auto floorPass = [&] {
        const double start = cpuNanoseconds();
        for (const cBlit& b : blits) {
            SDL_Rect where = {b.x, b.y, 0, 0};
            SDL_UpperBlit(b.picture, nullptr, screen, &where);
        }
        const double blitted = cpuNanoseconds();
        SDL_Flip(screen);
        blitNs += blitted - start;
        flipNs += cpuNanoseconds() - blitted;
    };
    // Taking turns at going first, so that neither gains from the other's
    // warm caches.
    bool floorFirst = false;
    for (auto _ : state) {
        if (floorFirst) floorPass();
        state.SetIterationTime(gamePass() / 1e9);
        if (!floorFirst) floorPass();
        floorFirst = !floorFirst;
    }
    if (probe.mode() != mode) {
        state.SkipWithError("the pass left its screen");
        return;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["blits"] = static_cast<double>(blits.size());
    state.counters["pass_us"] = passNs / n / 1000;
    state.counters["floor_us"] = (blitNs + flipNs) / n / 1000;
    state.counters["blit_us"] = blitNs / n / 1000;
    state.counters["flip_us"] = flipNs / n / 1000;
    state.counters["own_us"] = (passNs - blitNs - flipNs) / n / 1000;
    state.counters["ratio"] = passNs / (blitNs + flipNs);
}
BENCHMARK_CAPTURE(passAgainstFloor, game, MODE_GAME)
    ->DenseRange(1, cGame::kLevels)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(passAgainstFloor, menu, MODE_MENU)
    ->DenseRange(1, cGame::kLevels)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// A cache hit as a cell of a board asks for it: the path formed in a buffer.
void texHit(benchmark::State& state) {
    char path[] = "data/tiles/A01.png";
    if (bench::gGame->tex(path) == nullptr) state.SkipWithError("no picture at data/tiles/A01.png");
    for (auto _ : state) benchmark::DoNotOptimize(bench::gGame->tex(path));
}
BENCHMARK(texHit);

// A step sound as the model's cue hands it over, on a loaded chunk. The mixer
// has eight channels: each batch of eight plays starts from silence, so no
// play is refused for want of a channel.
void soundPlay(benchmark::State& state) {
    const std::string step = soundCue::kStep;
    cSounds* sounds = cSounds::inst();
    sounds->play(step);
    if (sounds->chunk(step) == nullptr) state.SkipWithError("no chunk for the step sound (no audio device?)");
    constexpr int kBatch = 8;
    for (auto _ : state) {
        Mix_HaltChannel(-1);
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < kBatch; ++i) sounds->play(step);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count() / kBatch);
    }
    Mix_HaltChannel(-1);
}
BENCHMARK(soundPlay)->UseManualTime();

} // namespace
