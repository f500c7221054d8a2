// A long headless run of the real game with seeded random input.
//
// It first makes one full round of the screens (splash, instructions, every
// level in the menu, every level won in turn, a loss, escape from play), then
// wanders: random keys, and at every level start a choice between playing the
// level's winning orders, its losing orders, or random ones. Through it all
// the mode and level stay valid, the picture cache holds no more than one
// entry per path, and neither the heap in use nor resident memory grows after
// the first round: the caches are all the game keeps.
//
//   LV_SOAK_PASSES  passes per data tree after the first round (default: a
//                   short run for the suite)
//   LV_SOAK_SEED    seed of the random input (default fixed)
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>

#include "cWorld.h"
#include "fixture.h"
#include "player.h"
#include "testSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#define LV_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LV_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef LV_ADDRESS_SANITIZER
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

namespace fs = std::filesystem;
using testing_support::ScratchDir;

namespace {

long envNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes the program holds on the heap right now, whatever the allocator
// keeps in reserve.
long heapKiB() {
#ifdef LV_ADDRESS_SANITIZER
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
#endif
}

struct Plans {
    std::vector<SDLKey> win[5];
    std::vector<SDLKey> lose[5];
};

Plans findPlans() {
    Plans plans;
    for (int level = 1; level <= 4; ++level) {
        const std::string left = fixture::levelPath(0, level);
        const std::string right = fixture::levelPath(1, level);
        plans.win[level] = plan::find(left, right, plan::Aim::win);
        plans.lose[level] = plan::find(left, right, plan::Aim::lose);
    }
    return plans;
}

class Soak {
public:
    Soak(cGame& game, const Plans& plans, unsigned seed) : mGame(game), mPlayer(game), mPlans(plans), mRandom(seed) {}

    // Orders and then passes until the level or the mode changes.
    void play(const std::vector<SDLKey>& keys) {
        const int level = mPlayer.probe().level();
        for (SDLKey key : keys) mPlayer.press(key);
        for (int i = 0; i < 20 && mPlayer.probe().mode() == MODE_GAME && mPlayer.probe().level() == level; ++i) {
            mPlayer.pass();
        }
    }

    void firstRound() {
        GameProbe& probe = mPlayer.probe();
        mPlayer.waitOutSplash();
        mPlayer.press(SDLK_SPACE);
        for (SDLKey key : {SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT, SDLK_LEFT, SDLK_LEFT, SDLK_LEFT}) mPlayer.press(key);
        mPlayer.press(SDLK_SPACE);
        for (int i = 0; i < 4; ++i) mPlayer.press(SDLK_RIGHT);
        for (int level = 1; level <= 4; ++level) {
            ASSERT_EQ(probe.level(), level);
            ASSERT_EQ(probe.mode(), MODE_GAME);
            play(mPlans.win[level]);
        }
        ASSERT_EQ(probe.mode(), MODE_MENU) << "winning the last level leads to the menu";
        mPlayer.press(SDLK_SPACE);
        play(mPlans.lose[4]);
        ASSERT_EQ(probe.mode(), MODE_MENU) << "a loss leads to the menu";
        mPlayer.press(SDLK_SPACE);
        mPlayer.press(SDLK_ESCAPE);
        ASSERT_EQ(probe.mode(), MODE_MENU);
    }

    // One pass of the wandering phase.
    void wander() {
        GameProbe& probe = mPlayer.probe();
        const bool inGame = probe.mode() == MODE_GAME;
        if (inGame && (!mWasInGame || probe.level() != mLevel)) {
            const unsigned choice = mRandom() % 5;
            mOrders = choice < 2 ? &mPlans.win[probe.level()] : choice < 3 ? &mPlans.lose[probe.level()] : nullptr;
            mNext = 0;
        }
        mWasInGame = inGame;
        mLevel = probe.level();

        if (inGame && mOrders != nullptr && mNext < mOrders->size()) {
            mPlayer.press((*mOrders)[mNext++]);
            return;
        }
        if (mRandom() % 4 != 0) {
            mPlayer.pass();
            return;
        }
        // Escape quits from the menu; the run ends there only at its very end.
        static const SDLKey kKeys[] = {SDLK_UP, SDLK_LEFT, SDLK_RIGHT, SDLK_DOWN, SDLK_SPACE, SDLK_ESCAPE, SDLK_a};
        const int count = inGame ? 7 : 5;
        const SDLKey first = kKeys[mRandom() % count];
        if (mRandom() % 8 == 0) {
            mPlayer.hold({SDLK_a, first, kKeys[mRandom() % count]}); // chords; any key repeats the held ones
        } else {
            mPlayer.hold({first});
        }
        mPlayer.pass();
        mPlayer.releaseAll();
    }

    void quit() {
        if (mPlayer.probe().mode() == MODE_GAME) mPlayer.press(SDLK_ESCAPE);
        ASSERT_EQ(mPlayer.probe().mode(), MODE_MENU);
        mPlayer.hold({SDLK_ESCAPE});
        mGame.run(); // the real loop: one menu pass, then it returns
        EXPECT_TRUE(mPlayer.probe().quitting());
    }

    Player& player() { return mPlayer; }

private:
    cGame& mGame;
    Player mPlayer;
    const Plans& mPlans;
    std::mt19937 mRandom;
    const std::vector<SDLKey>* mOrders = nullptr;
    std::size_t mNext = 0;
    bool mWasInGame = false;
    int mLevel = 0;
};

// What the wandering phase went through, counted from the mode and level
// around each pass.
struct Tally {
    long starts[5] = {};
    long wins = 0, lastLevelWins = 0, losses = 0, escapes = 0;

    void count(int levelBefore, std::int8_t modeBefore, bool bothWon, bool oneDead, const GameProbe& after) {
        if (modeBefore == MODE_MENU && after.mode() == MODE_GAME) ++starts[after.level()];
        if (modeBefore != MODE_GAME) return;
        if (after.level() > levelBefore) {
            ++wins;
        } else if (after.mode() == MODE_MENU) {
            if (bothWon) {
                ++wins;
                ++lastLevelWins;
            } else if (oneDead) {
                ++losses;
            } else {
                ++escapes;
            }
        }
    }
};

bool heroWon(const cWorld* world) { return world->getHero() != nullptr && world->getHero()->won(); }
bool heroDead(const cWorld* world) { return world->getHero() != nullptr && !world->getHero()->alive(); }

#ifdef LV_ADDRESS_SANITIZER
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

void soak(const std::string& name) {
    const long passes = envNumber("LV_SOAK_PASSES", 10000);
    const unsigned seed = static_cast<unsigned>(envNumber("LV_SOAK_SEED", 1701));
    const Plans plans = findPlans();
    for (int level = 1; level <= 4; ++level) {
        ASSERT_FALSE(plans.win[level].empty()) << "level " << level << " cannot be won";
    }
    ASSERT_FALSE(plans.lose[4].empty()) << "level 4 cannot be lost";

    const long atStart = residentKiB();
    cGame game;
    Soak run(game, plans, seed);
    GameProbe& probe = run.player().probe();
    ASSERT_TRUE(game.init());
    run.firstRound();
    if (::testing::Test::HasFatalFailure()) return;
    const long afterFirstRound = residentKiB();
    const long heapAfterFirstRound = heapKiB();
    long heapHighest = heapAfterFirstRound;

    Tally tally;
    long halfway = afterFirstRound;
    long highest = afterFirstRound;
    long highestAfterHalfway = 0;
    for (long pass = 0; pass < passes; ++pass) {
        const int level = probe.level();
        const std::int8_t mode = probe.mode();
        const bool bothWon = heroWon(probe.left()) && heroWon(probe.right());
        const bool oneDead = heroDead(probe.left()) || heroDead(probe.right());
        run.wander();
        tally.count(level, mode, bothWon, oneDead, probe);
        ASSERT_TRUE(probe.mode() == MODE_MENU || probe.mode() == MODE_GAME) << "pass " << pass;
        ASSERT_TRUE(probe.level() >= 1 && probe.level() <= 4) << "pass " << pass;
        ASSERT_FALSE(probe.quitting()) << "pass " << pass;
        if (pass == passes / 2) halfway = residentKiB();
        if (pass % 256 == 0 || pass == passes - 1) {
            heapHighest = std::max(heapHighest, heapKiB());
            const long now = residentKiB();
            highest = std::max(highest, now);
            if (pass >= passes / 2) highestAfterHalfway = std::max(highestAfterHalfway, now);
        }
    }
    const long atEnd = residentKiB();
    run.quit();
    game.end();

    std::cout << "soak over " << name << ": " << passes << " passes (seed " << seed << "); level starts "
              << tally.starts[1] << "/" << tally.starts[2] << "/" << tally.starts[3] << "/" << tally.starts[4]
              << ", " << tally.wins << " wins (" << tally.lastLevelWins << " of the last level), " << tally.losses
              << " losses, " << tally.escapes << " escapes; resident memory " << atStart << " KiB at start, "
              << afterFirstRound << " KiB after the first round, " << halfway << " KiB halfway, " << highest
              << " KiB at most, " << atEnd << " KiB at the end; heap in use " << heapAfterFirstRound
              << " KiB after the first round, " << heapHighest << " KiB at most; " << probe.cachedPictures()
              << " pictures cached" << std::endl;

    // One entry per path the game can name: the pictures and the two realm
    // directories that a vanished hero names.
    EXPECT_LE(probe.cachedPictures(), fixture::pictures().size() + 2) << "the picture cache grew past its paths";
    // What the game holds on the heap is all in its caches by the end of the
    // first round: anything kept per pass or per level would show here first.
    EXPECT_LE(heapHighest - heapAfterFirstRound, 16) << "the heap in use grew after the first round";
    if (passes < 10000) return; // too short to tell wandering or resident memory apart
    for (int level = 1; level <= 4; ++level) EXPECT_GT(tally.starts[level], 0) << "level " << level;
    EXPECT_GT(tally.lastLevelWins, 0);
    EXPECT_GT(tally.wins, tally.lastLevelWins);
    EXPECT_GT(tally.losses, 0);
    EXPECT_GT(tally.escapes, 0);
    // Resident memory follows. The sanitizer's allocator settles only over
    // tens of thousands of passes (its quarantine of freed memory fills, its
    // size classes warm up), so under it only the second half of a long run
    // counts; the heap in use above is exact in either build.
    constexpr long kSlackKiB = 512;
    if (!kSanitized) {
        EXPECT_LE(highest - afterFirstRound, kSlackKiB) << "resident memory grew after the first round";
    } else if (passes >= 50000) {
        EXPECT_LE(highestAfterHalfway - halfway, kSlackKiB) << "resident memory still grew in the second half";
    }
}

} // namespace

TEST(Soak, FixtureData) {
    ScratchDir dir;
    fixture::writeAll();
    soak("fixture data");
}

TEST(Soak, ShippedData) {
    const fs::path shipped = LV_SHIPPED_DATA;
    ASSERT_TRUE(fs::exists(shipped / "levels" / "lumora1.map")) << "no shipped data in " << shipped;
    ScratchDir dir;
    fs::create_directory_symlink(shipped, "data");
    soak("shipped data");
}

#ifdef LV_ADDRESS_SANITIZER
// A small quarantine of freed memory, so that it fills early in the run and
// its growth is not taken for the game's.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=2"; }
#endif
