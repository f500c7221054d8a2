// The game on screen, driven for real: SDL's dummy video and audio drivers,
// key-downs queued with SDL_PushEvent, held keys set in SDL's own keyboard
// array, single passes of the main loop, and the 16-bit screen's pixels read
// back. Every fixture picture is one flat colour, so a pixel tells which
// picture was drawn last at that place.
#include <gtest/gtest.h>

#include <SDL.h>

#include <map>

#include "cGame.h"
#include "cWorld.h"
#include "gameAssets.h"
#include "gameProbe.h"
#include "testSupport.h"

using testing_support::mapFromRows;
using testing_support::ScratchDir;
using testing_support::writeFile;
using testing_support::writePicture;

namespace {

// A distinct colour for every picture, from channel levels that survive the
// 16-bit screen unchanged in their distinctness.
std::map<std::string, unsigned> gColours;

void writeFixturePictures() {
    const unsigned levels[] = {0x00, 0x40, 0x80, 0xC0, 0xFF};
    int i = 1;
    for (const gameAssets::Picture& p : gameAssets::pictures()) {
        const unsigned colour = (levels[i % 5] << 16) | (levels[(i / 5) % 5] << 8) | levels[(i / 25) % 5];
        gColours[p.path] = colour;
        // Small menu pictures, so that the boards show beside them.
        const bool small = gameAssets::isMenuPicture(p.path);
        writePicture(p.path, small ? 16 : p.width, small ? 16 : p.height, colour);
        ++i;
    }
}

void writeLevel(int level, const std::vector<std::string>& left, const std::vector<std::string>& right) {
    writeFile("data/levels/lumora" + std::to_string(level) + ".map", mapFromRows(left));
    writeFile("data/levels/vexmoor" + std::to_string(level) + ".map", mapFromRows(right));
}

// Both heroes two steps from a goal, on every level; the hero column tells the level.
void writeEasyLevels() {
    for (int level = 1; level <= 4; ++level) {
        std::string row = ".....";
        row[level - 1] = 'S';
        writeLevel(level, {row, ".....", "GGGGG"}, {row, ".....", "GGGGG"});
    }
}

} // namespace

class Screens : public ::testing::Test {
protected:
    void SetUp() override {
        writeFixturePictures();
        writeEasyLevels();
        ::testing::internal::CaptureStdout();
        const bool started = game.init();
        ::testing::internal::GetCapturedStdout();
        ASSERT_TRUE(started);
        releaseAll();
    }
    void TearDown() override {
        releaseAll();
        game.end();
        SDL_Quit();
    }

    static void releaseAll() {
        int count = 0;
        Uint8* keys = SDL_GetKeyState(&count);
        std::fill(keys, keys + count, 0);
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
        }
    }
    static void hold(SDLKey key) { SDL_GetKeyState(nullptr)[key] = 1; }
    static void release(SDLKey key) { SDL_GetKeyState(nullptr)[key] = 0; }
    static void keyDown(SDLKey named) {
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = named;
        SDL_PushEvent(&event);
    }
    // A real press: the key is held when its key-down is taken.
    static void press(SDLKey key) {
        hold(key);
        keyDown(key);
    }
    static void pushQuit() {
        SDL_Event event = {};
        event.type = SDL_QUIT;
        SDL_PushEvent(&event);
    }

    // One pass of the given mode, then the key is let go.
    void passWith(SDLKey key) {
        press(key);
        probe.pass();
        release(key);
    }

    void startPlay() {
        probe.setMode(MODE_MENU);
        passWith(SDLK_SPACE);
        ASSERT_EQ(probe.mode(), MODE_GAME);
    }

    Uint32 pixel(int x, int y) const {
        SDL_Surface* s = probe.screen();
        SDL_LockSurface(s);
        const Uint32 value = static_cast<const Uint16*>(s->pixels)[y * s->pitch / 2 + x];
        SDL_UnlockSurface(s);
        return value;
    }
    // Which fixture picture shows at (x, y), or "?" for none of them.
    std::string shownAt(int x, int y) const {
        SDL_Surface* s = probe.screen();
        const Uint32 value = pixel(x, y);
        for (const auto& [path, colour] : gColours) {
            if (SDL_MapRGB(s->format, colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF) == value) return path;
        }
        return "?";
    }

    ScratchDir dir;
    cGame game;
    GameProbe probe{game};
};

TEST_F(Screens, SplashStaysUntilFiveSecondsAfterStartThenInstructions) {
    probe.pass();
    EXPECT_EQ(probe.mode(), MODE_SPLASH);
    EXPECT_EQ(shownAt(320, 240), "data/menu/tovrin.png");
    // Keys and a close pressed during the splash wait for the instructions.
    press(SDLK_SPACE);
    pushQuit();
    while (SDL_GetTicks() <= 5000) SDL_Delay(50);
    probe.pass();
    EXPECT_EQ(probe.mode(), MODE_INSTRUCTIONS);
    EXPECT_FALSE(probe.quitting());
    probe.pass();
    EXPECT_EQ(probe.mode(), MODE_MENU);
    EXPECT_TRUE(probe.quitting());
    EXPECT_EQ(shownAt(320, 240), "data/menu/instruct.png"); // drawn also in the pass that left
}

TEST_F(Screens, InstructionsIgnoreEscapeAndLeaveOnSpace) {
    probe.setMode(MODE_INSTRUCTIONS);
    passWith(SDLK_ESCAPE);
    EXPECT_EQ(probe.mode(), MODE_INSTRUCTIONS);
    EXPECT_FALSE(probe.quitting());
    EXPECT_EQ(shownAt(5, 5), "data/menu/instruct.png");
    passWith(SDLK_SPACE);
    EXPECT_EQ(probe.mode(), MODE_MENU);
}

TEST_F(Screens, MenuChoosesLevelsWithinBoundsAndReloadsEachTime) {
    probe.setMode(MODE_MENU);
    struct Step {
        std::vector<SDLKey> held;
        int level;
        std::int8_t mode;
    };
    const Step steps[] = {
        {{SDLK_LEFT}, 1, MODE_MENU},
        {{SDLK_RIGHT}, 2, MODE_MENU},
        {{SDLK_RIGHT}, 3, MODE_MENU},
        {{SDLK_RIGHT}, 4, MODE_MENU},
        {{SDLK_RIGHT}, 4, MODE_MENU},
        {{SDLK_RIGHT, SDLK_LEFT}, 3, MODE_MENU}, // next, then previous
        {{SDLK_SPACE, SDLK_LEFT}, 2, MODE_GAME}, // previous, then start
    };
    for (const Step& step : steps) {
        probe.left()->placeHero(cHero(tile::kSouth, 7, 7, false)); // a reload puts it back
        for (SDLKey key : step.held) hold(key);
        keyDown(step.held.front());
        probe.pass();
        for (SDLKey key : step.held) release(key);
        EXPECT_EQ(probe.level(), step.level);
        EXPECT_EQ(probe.mode(), step.mode);
        EXPECT_EQ(probe.left()->getHero()->getX(), step.level - 1);
    }
}

TEST_F(Screens, MenuDrawsBoardsWithoutHeroesUnderItsPictures) {
    writeLevel(1, {"S#", "~G"}, {"S~"});
    game.reloadLevel();
    probe.setMode(MODE_MENU);
    passWith(SDLK_ESCAPE);
    EXPECT_TRUE(probe.quitting());
    // The menu pictures, each at its place over the boards.
    EXPECT_EQ(shownAt(33, 33), "data/menu/btnLeft.png");
    EXPECT_EQ(shownAt(97, 33), "data/menu/logo.png");
    EXPECT_EQ(shownAt(129, 129), "data/menu/selectLevel.png");
    EXPECT_EQ(shownAt(545, 33), "data/menu/btnRight.png");
    EXPECT_EQ(shownAt(159, 384), "data/menu/btnStart.png");
    EXPECT_EQ(shownAt(158, 384), "data/menu/background.png");
    // Start cells show their picture and no hero; the right board uses its own set.
    EXPECT_EQ(shownAt(40, 60), "data/tiles/A01.png");
    EXPECT_EQ(shownAt(360, 60), "data/tiles/D01.png");
    EXPECT_EQ(shownAt(390, 40), "data/tiles/oil.png");
    EXPECT_EQ(shownAt(40, 90), "data/tiles/ice.png");
    EXPECT_EQ(shownAt(5, 5), "data/menu/background.png");
}

TEST_F(Screens, GameScreenDrawOrder) {
    // Left column 0: floor, blocker, the hero; a goal and a slide beside them.
    writeLevel(1, {".G", "#.", "S~"}, {"..", ".E"});
    startPlay();
    probe.pass();
    EXPECT_EQ(shownAt(5, 5), "data/tiles/back.png");
    EXPECT_EQ(shownAt(40, 35), "data/tiles/A01.png");     // top of the floor cell
    EXPECT_EQ(shownAt(40, 45), "data/tiles/blocker.png"); // the blocker rises 24 px into it
    EXPECT_EQ(shownAt(40, 80), "data/devil/south.png");   // the hero rises over the blocker
    EXPECT_EQ(shownAt(40, 100), "data/devil/south.png");
    EXPECT_EQ(shownAt(72, 26), "data/tiles/goal.png");    // the goal rises 8 px above row 0
    EXPECT_EQ(shownAt(72, 23), "data/tiles/back.png");
    EXPECT_EQ(shownAt(72, 100), "data/tiles/ice.png");
    EXPECT_EQ(shownAt(392, 72), "data/angel/east.png");   // right hero at column 1, row 1
    EXPECT_EQ(shownAt(40, 200), "data/tiles/back.png");   // a hole shows the background
}

TEST_F(Screens, HeroesOffTheBoardAreDrawnByTheSameFormula) {
    startPlay();
    struct Case {
        bool right;
        int column, row;
        int x, y; // a pixel inside the drawn picture
    };
    const Case cases[] = {
        {false, -1, 5, 0, 168},  {false, 8, 5, 288, 168}, {true, -1, 5, 320, 168},
        {true, 8, 5, 608, 168},  {false, 3, -1, 128, 0},  {false, 3, 13, 128, 424},
    };
    for (const Case& c : cases) {
        cWorld* world = c.right ? probe.right() : probe.left();
        world->placeHero(cHero(tile::kEast, static_cast<signed char>(c.column),
                               static_cast<signed char>(c.row), c.right));
        probe.pass();
        EXPECT_EQ(shownAt(c.x, c.y), c.right ? "data/angel/east.png" : "data/devil/east.png")
            << c.column << "," << c.row;
        EXPECT_EQ(probe.mode(), MODE_GAME);
        world->placeHero(cHero(tile::kSouth, 0, 0, c.right));
    }
}

TEST_F(Screens, ExitAnimationThenTheNextLevelInTheSamePass) {
    startPlay();
    passWith(SDLK_UP);
    passWith(SDLK_UP); // both heroes on a goal
    const char* frames[] = {"exit2", "exit3", "exit4", "exit4"};
    EXPECT_EQ(shownAt(40, 100), "data/devil/exit1.png"); // the winning pass drew frame 1
    for (const char* frame : frames) {
        probe.pass();
        EXPECT_EQ(shownAt(40, 100), std::string("data/devil/") + frame + ".png");
        EXPECT_EQ(probe.level(), 1);
    }
    EXPECT_FALSE(probe.left()->getHero()->animating());
    probe.pass(); // won and still: on to level 2, drawn at once
    EXPECT_EQ(probe.level(), 2);
    EXPECT_EQ(probe.mode(), MODE_GAME);
    EXPECT_EQ(shownAt(72, 40), "data/devil/south.png");
}

TEST_F(Screens, WinningTheLastLevelShowsTheMenuAtLevelFour) {
    probe.setLevel(4);
    startPlay();
    passWith(SDLK_UP);
    passWith(SDLK_UP);
    for (int i = 0; i < 5; ++i) probe.pass();
    EXPECT_EQ(probe.mode(), MODE_MENU);
    EXPECT_EQ(probe.level(), 4);
    EXPECT_EQ(probe.left()->getHero()->getY(), 0); // level 4 loaded afresh
    EXPECT_TRUE(probe.left()->getHero()->alive());
}

TEST_F(Screens, ALossReturnsToTheMenuAfterTheDeathAnimation) {
    writeLevel(1, {"S", "."}, {"N", "."}); // the right hero walks off the top
    startPlay();
    passWith(SDLK_UP);
    EXPECT_EQ(shownAt(360, 0), "data/angel/die1.png");
    for (int frame = 2; frame <= 6; ++frame) {
        probe.pass();
        EXPECT_EQ(probe.mode(), MODE_GAME);
        EXPECT_EQ(shownAt(360, 0), "data/angel/die" + std::to_string(frame) + ".png");
    }
    probe.pass(); // die6 once more, and the animation ends
    EXPECT_EQ(probe.mode(), MODE_GAME);
    probe.pass();
    EXPECT_EQ(probe.mode(), MODE_MENU);
    EXPECT_EQ(probe.level(), 1);
    EXPECT_EQ(probe.right()->getHero()->getY(), -1); // the board stays as play left it
    passWith(SDLK_SPACE);
    EXPECT_EQ(probe.right()->getHero()->getY(), 0); // and space restarts it
}

// A fallen hero that reaches a goal has won, but is dead all the same: once
// the animations have run out the level counts as lost.
TEST_F(Screens, AHeroThatFellAndThenReachedAGoalStillLoses) {
    writeLevel(1, {"E G"}, {"E.G"});
    startPlay();
    passWith(SDLK_UP); // left falls, right steps
    passWith(SDLK_UP); // left steps out of its hole onto the goal, right onto its own
    EXPECT_FALSE(probe.left()->getHero()->alive());
    EXPECT_TRUE(probe.left()->getHero()->won());
    EXPECT_TRUE(probe.right()->getHero()->won());
    EXPECT_EQ(shownAt(100, 20), "data/devil/exit2.png"); // the exit frames go on from die1
    int passes = 0;
    while (probe.mode() == MODE_GAME && passes < 20) {
        probe.pass();
        ++passes;
    }
    EXPECT_EQ(passes, 5); // the right hero's exit animation is the longer one
    EXPECT_EQ(probe.mode(), MODE_MENU);
    EXPECT_EQ(probe.level(), 1);
}

TEST_F(Screens, KeyStateRules) {
    startPlay();
    cHero* left = probe.left()->getHero();
    // Pressed and released before the pass: nothing.
    keyDown(SDLK_RIGHT);
    probe.pass();
    EXPECT_EQ(left->getDir(), tile::kSouth);
    // An unbound key repeats a held arrow.
    hold(SDLK_RIGHT);
    keyDown(SDLK_a);
    probe.pass();
    EXPECT_EQ(left->getDir(), tile::kWest);
    release(SDLK_RIGHT);
    // Two queued key-downs with right and up held: turn and step, twice.
    writeLevel(1, {"S...."}, {"S...."});
    probe.setMode(MODE_MENU);
    passWith(SDLK_SPACE);
    hold(SDLK_RIGHT);
    hold(SDLK_UP);
    keyDown(SDLK_RIGHT);
    keyDown(SDLK_UP);
    probe.pass();
    cHero* hero = probe.left()->getHero();
    // Turned west and stepped off the edge, then turned north and stepped on.
    EXPECT_EQ(hero->getDir(), tile::kNorth);
    EXPECT_EQ(hero->getX(), -1);
    EXPECT_EQ(hero->getY(), -1);
    release(SDLK_RIGHT);
    release(SDLK_UP);
}

TEST_F(Screens, EscapeInPlayReturnsToTheMenuAndStillMovesWithAHeldArrow) {
    startPlay();
    hold(SDLK_UP);
    press(SDLK_ESCAPE);
    press(SDLK_DOWN); // queued behind the escape: still game input, and it does nothing
    const std::string before = shownAt(40, 100);
    probe.pass();
    EXPECT_EQ(probe.mode(), MODE_MENU);
    EXPECT_EQ(probe.left()->getHero()->getY(), 2); // two ups: one per key-down
    EXPECT_EQ(shownAt(40, 100), before);           // nothing drawn in that pass
}

TEST_F(Screens, ABoardWithoutAHeroIsLostAtOnce) {
    cGame fresh; // its worlds have never held a hero
    GameProbe bare(fresh);
    bare.setScreen(probe.screen());
    bare.setMode(MODE_GAME);
    press(SDLK_RIGHT);
    press(SDLK_UP);
    bare.pass();
    EXPECT_EQ(bare.mode(), MODE_MENU);
    bare.pass(); // the menu draws both empty boards
    EXPECT_EQ(bare.mode(), MODE_MENU);
}

TEST_F(Screens, PlayingALevelFromTheMenuToItsWin) {
    writeLevel(1, {"E~~#", "..G."}, {".E~.", "...G"});
    probe.setMode(MODE_INSTRUCTIONS);
    passWith(SDLK_SPACE);
    passWith(SDLK_RIGHT); // level 2 in the menu
    passWith(SDLK_LEFT);  // back to level 1
    passWith(SDLK_SPACE);
    ASSERT_EQ(probe.mode(), MODE_GAME);
    // Left slides up to the blocker, right slides onto the floor; both turn south onto a goal.
    for (SDLKey key : {SDLK_UP, SDLK_RIGHT, SDLK_UP}) passWith(key);
    EXPECT_TRUE(probe.left()->getHero()->won());
    EXPECT_TRUE(probe.right()->getHero()->won());
    int passes = 0;
    while (probe.level() == 1 && passes < 20) {
        probe.pass();
        ++passes;
    }
    EXPECT_EQ(passes, 5);
    EXPECT_EQ(probe.level(), 2);
    EXPECT_EQ(probe.mode(), MODE_GAME);
}

TEST_F(Screens, RunEndsOnAWindowCloseAfterFinishingItsPass) {
    probe.setMode(MODE_MENU);
    pushQuit();
    const Uint32 start = SDL_GetTicks();
    game.run();
    EXPECT_TRUE(probe.quitting());
    EXPECT_GE(SDL_GetTicks() - start, 40u); // the closing pass still waits
    EXPECT_EQ(shownAt(5, 5), "data/menu/background.png");
}
