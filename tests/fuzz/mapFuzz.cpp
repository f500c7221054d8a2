// libFuzzer target: arbitrary bytes as a level map file, then a run of orders.
//
// The input is written whole to a file and loaded into a world, whatever its
// length. The orders come from the bytes past the 104th, which the loader never
// reads; an input of 104 bytes or fewer drives its orders with its own bytes.
// Each order byte:
//   bits 0-1  0 turn clockwise, 1 turn counter-clockwise, 2 forward, 3 back
//   bit  2    afterwards, draw the hero (asks for its picture, which runs its animations)
//   0xF8 and up: load the same file again instead (a level restart)
// After the load and after every order the checks below must hold; any
// failure aborts, which libFuzzer reports with the input that caused it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cWorld.h"
#include "soundCue.h"

namespace {

std::string gMapPath;
std::vector<std::string> gCues;

void recordCue(const std::string& path) { gCues.push_back(path); }

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void check(bool holds, const char* what) {
    if (!holds) fail(what);
}

// What a hero is, as far as the rules care.
struct HeroState {
    const cHero* object;
    int x, y, dir;
    bool alive, won;
};

HeroState stateOf(const cWorld& world) {
    const cHero* h = world.getHero();
    if (h == nullptr) return {nullptr, 0, 0, 0, false, false};
    return {h, h->getX(), h->getY(), h->getDir(), h->alive(), h->won()};
}

std::uint32_t cellAt(const std::uint32_t* cells, int x, int y) {
    if (x < 0 || y < 0 || x >= tile::kColumns || y >= tile::kRows) return 0;
    return cells[tile::cellIndex(x, y)];
}

void checkBoard(const cWorld& world, const std::uint32_t* cells) {
    for (int y = 0; y < tile::kRows; ++y) {
        for (int x = 0; x < tile::kColumns; ++x) {
            check(world.getTile(x, y) == cells[tile::cellIndex(x, y)], "a cell changed");
        }
    }
    check(world.getTile(8, 0) == 0 && world.getTile(0, 13) == 0 &&
              world.getTile(static_cast<unsigned>(-1), 0) == 0 &&
              world.getTile(0, static_cast<unsigned>(-1)) == 0,
          "a position off the board is not a hole");
}

// Loads the file and checks the board and hero against the bytes: cells read
// hold their byte sign-widened, cells past a short file's end are holes, the
// last hero mark read places a fresh hero, and without one the hero stays.
void loadAndCheck(cWorld& world, const std::uint8_t* data, std::size_t size,
                  std::uint32_t* cells) {
    const HeroState before = stateOf(world);
    gCues.clear();
    world.loadMap(gMapPath);
    check(gCues.empty(), "loading a map made a sound");

    int lastMark = -1;
    for (int i = 0; i < tile::kCells; ++i) {
        const bool read = static_cast<std::size_t>(i) < size;
        cells[i] = read ? tile::widen(data[i]) : 0;
        if (read && tile::isHeroStart(data[i])) lastMark = i;
    }
    checkBoard(world, cells);

    const cHero* hero = world.getHero();
    if (lastMark < 0) {
        const HeroState after = stateOf(world);
        check(after.object == before.object && after.x == before.x && after.y == before.y &&
                  after.dir == before.dir && after.alive == before.alive && after.won == before.won,
              "a map without a hero mark changed the hero");
        return;
    }
    check(hero != nullptr, "a hero mark placed no hero");
    check(hero->getX() == lastMark % tile::kColumns && hero->getY() == lastMark / tile::kColumns,
          "the hero is not on the last hero mark");
    check(hero->getDir() == tile::startDirection(data[lastMark]), "wrong start direction");
    check(hero->alive() && !hero->won() && !hero->animating() && hero->frame() == 0,
          "a fresh hero is not walking");
}

// One forward order, checked against the rules without replaying them: the
// hero moves k cells straight ahead with one step sound each; every cell it
// passes on the way is a slide; it was refused without a sound when it stood
// on a goal or faced a blocker; it never enters a blocker; it stops on a slide
// only with a blocker ahead; it dies in a hole and wins on a goal.
void forwardAndCheck(cWorld& world, const std::uint32_t* cells) {
    const HeroState before = stateOf(world);
    gCues.clear();
    const bool entered = world.moveHeroForward();
    const HeroState after = stateOf(world);

    if (before.object == nullptr) {
        check(!entered && gCues.empty() && after.object == nullptr, "a board without hero moved");
        return;
    }
    check(after.object == before.object && after.dir == before.dir, "a step changed the hero");

    std::size_t steps = 0;
    while (steps < gCues.size() && gCues[steps] == soundCue::kStep) ++steps;
    check(steps <= tile::kRows + 1, "a slide went on too long");
    const int dx = before.dir == tile::kEast ? 1 : before.dir == tile::kWest ? -1 : 0;
    const int dy = before.dir == tile::kSouth ? 1 : before.dir == tile::kNorth ? -1 : 0;
    // Positions are signed 8-bit: far off the board they wrap.
    auto wrap = [](int v) { return static_cast<int>(static_cast<signed char>(v)); };
    check(after.x == wrap(before.x + dx * static_cast<int>(steps)) &&
              after.y == wrap(before.y + dy * static_cast<int>(steps)),
          "the hero is not where its steps lead");

    const std::uint32_t start = cellAt(cells, before.x, before.y);
    if (steps == 0) {
        const std::uint32_t ahead = cellAt(cells, wrap(before.x + dx), wrap(before.y + dy));
        check(!entered && gCues.empty(), "a refused order did something");
        check(tile::isGoal(start) || tile::isBlocker(ahead), "an order was refused for no reason");
        check(after.alive == before.alive && after.won == before.won, "a refusal changed the flags");
        return;
    }
    check(!tile::isGoal(start), "a hero left its goal");
    for (std::size_t k = 1; k < steps; ++k) {
        check(tile::isSlide(cellAt(cells, wrap(before.x + dx * static_cast<int>(k)),
                                   wrap(before.y + dy * static_cast<int>(k)))),
              "the hero carried on from a cell that is no slide");
    }
    const std::uint32_t last = cellAt(cells, after.x, after.y);
    check(!tile::isBlocker(last), "the hero entered a blocker");
    const std::vector<std::string> tail(gCues.begin() + static_cast<std::ptrdiff_t>(steps), gCues.end());
    if (tile::isSlide(last)) {
        check(tile::isBlocker(cellAt(cells, wrap(after.x + dx), wrap(after.y + dy))),
              "the hero stopped on a slide with no blocker ahead");
        check(!entered && tail.empty(), "a stop on a slide reported an entry");
    } else if (tile::isHole(last)) {
        check(entered && tail == std::vector<std::string>{soundCue::kOhNo}, "a fall made no death sound");
        check(!after.alive && after.won == before.won, "a fall did not kill");
    } else if (tile::isGoal(last)) {
        check(entered && tail == std::vector<std::string>{soundCue::kWin}, "a goal made no win sound");
        check(after.won && after.alive == before.alive, "a goal did not crown");
    } else {
        check(entered && tail.empty(), "a step onto a floor did more");
        check(after.alive == before.alive && after.won == before.won, "a floor changed the flags");
    }
}

void turnAndCheck(cWorld& world, bool clockwise) {
    const HeroState before = stateOf(world);
    cHero* hero = world.getHero();
    if (hero == nullptr) return; // the game turns only heroes that exist
    gCues.clear();
    clockwise ? hero->rotCW() : hero->rotCCW();
    int expected = before.dir;
    if (!before.won) {
        expected = clockwise ? (before.dir * 2 > 8 ? 1 : before.dir * 2)
                             : (before.dir / 2 <= 0 ? 8 : before.dir / 2);
    }
    const HeroState after = stateOf(world);
    check(after.dir == expected, "a turn went the wrong way");
    check(after.x == before.x && after.y == before.y && gCues.empty(), "a turn moved or sounded");
}

void drawAndCheck(cWorld& world) {
    cHero* hero = world.getHero();
    if (hero == nullptr) return;
    const std::string path = hero->getSprite();
    const std::string realm = "data/devil/";
    check(path.compare(0, realm.size(), realm) == 0, "a hero picture outside its realm");
    check(hero->frame() >= 0 && hero->frame() <= 6, "an animation ran past its last frame");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir != nullptr ? dir : "/tmp") + "/lv-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) fail("no scratch file for the map");
    close(fd);
    gMapPath = pattern;
    std::atexit([] { unlink(gMapPath.c_str()); });
    soundCue::setSink(recordCue);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = open(gMapPath.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) fail("cannot write the map");
    close(fd);

    cWorld world(false);
    std::uint32_t cells[tile::kCells];
    loadAndCheck(world, data, size, cells);

    const std::size_t from = size > tile::kCells ? tile::kCells : 0;
    for (std::size_t i = from; i < size; ++i) {
        const std::uint8_t order = data[i];
        if (order >= 0xF8) {
            loadAndCheck(world, data, size, cells);
            continue;
        }
        switch (order & 3) {
        case 0: turnAndCheck(world, true); break;
        case 1: turnAndCheck(world, false); break;
        case 2:
            forwardAndCheck(world, cells);
            checkBoard(world, cells); // only a move reads the board
            break;
        default: {
            const HeroState before = stateOf(world);
            gCues.clear();
            check(world.moveHeroBack(), "the backward order said no");
            const HeroState after = stateOf(world);
            check(after.object == before.object && after.x == before.x && after.y == before.y &&
                      after.dir == before.dir && after.alive == before.alive &&
                      after.won == before.won && gCues.empty(),
                  "the backward order changed something");
            break;
        }
        }
        if ((order & 4) != 0) drawAndCheck(world);
    }
    return 0;
}
