// Start-up, shutdown, the level number and its files, and a failed start.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>

#include "cGame.h"
#include "cWorld.h"
#include "gameProbe.h"
#include "sub.h"
#include "testSupport.h"

using testing_support::mapFromRows;
using testing_support::ScratchDir;
using testing_support::writeFile;

int SDL_main(int argc, char* argv[]);

namespace {

std::vector<std::pair<std::string, std::string>> gBoxes;

bool recordBox(const std::string& title, const std::string& text) {
    gBoxes.emplace_back(title, text);
    return true;
}

// Level files whose hero column tells which file a board holds: the left
// board's hero stands in column 2 x level - 2, the right one's one further.
void writeLevels() {
    for (int level = 1; level <= 4; ++level) {
        std::string left(8, '.');
        std::string right(8, '.');
        left[2 * level - 2] = 'S';
        right[2 * level - 1] = 'S';
        writeFile("data/levels/lumora" + std::to_string(level) + ".map", mapFromRows({left}));
        writeFile("data/levels/vexmoor" + std::to_string(level) + ".map", mapFromRows({right}));
    }
}

int heroColumn(const cWorld* world) { return world->getHero() ? world->getHero()->getX() : -99; }

} // namespace

class GameStart : public ::testing::Test {
protected:
    void SetUp() override { writeLevels(); }
    void TearDown() override { SDL_Quit(); }
    ScratchDir dir;
};

TEST_F(GameStart, InitOpensTheWindowAndLoadsLevelOne) {
    cGame game;
    GameProbe probe(game);
    EXPECT_EQ(probe.mode(), MODE_SPLASH);
    EXPECT_EQ(probe.level(), 1);
    EXPECT_EQ(probe.left()->getHero(), nullptr);
    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(game.init());
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out; // the audio line
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    EXPECT_STREQ(title, "Lumora And Vexmoor");
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 640);
    EXPECT_EQ(screen->h, 480);
    EXPECT_EQ(screen->format->BitsPerPixel, 16);
    EXPECT_EQ(probe.mode(), MODE_SPLASH);
    EXPECT_EQ(heroColumn(probe.left()), 0);
    EXPECT_EQ(heroColumn(probe.right()), 1);
    EXPECT_FALSE(probe.right()->getHero()->getSprite().find("angel") == std::string::npos);
    game.end();
}

TEST_F(GameStart, LevelOperationsStayWithinOneToFourAndReloadBothBoards) {
    cGame game;
    GameProbe probe(game);
    struct Step {
        void (cGame::*operation)();
        int level;
    };
    const Step steps[] = {
        {&cGame::previousLevel, 1}, {&cGame::nextLevel, 2}, {&cGame::nextLevel, 3},
        {&cGame::nextLevel, 4},     {&cGame::nextLevel, 4}, {&cGame::previousLevel, 3},
        {&cGame::reloadLevel, 3},
    };
    for (const Step& step : steps) {
        // Move both heroes away so that a reload shows.
        probe.left()->placeHero(cHero(tile::kSouth, 7, 7, false));
        probe.right()->placeHero(cHero(tile::kSouth, 7, 7, true));
        (game.*step.operation)();
        EXPECT_EQ(probe.level(), step.level);
        EXPECT_EQ(heroColumn(probe.left()), 2 * step.level - 2);
        EXPECT_EQ(heroColumn(probe.right()), 2 * step.level - 1);
    }
}

TEST_F(GameStart, AFailedStartIsReportedOnceAndEndsWithStatusOne) {
    gBoxes.clear();
    auto previous = platform::setMessageBox(recordBox);
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    ::testing::internal::CaptureStdout();
    char name[] = "lumora-vexmoor";
    char* argv[] = {name, nullptr};
    const int status = SDL_main(1, argv);
    const std::string out = ::testing::internal::GetCapturedStdout();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    platform::setMessageBox(previous);

    EXPECT_EQ(status, 1);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].first, "Error");
    EXPECT_FALSE(gBoxes[0].second.empty());
    EXPECT_EQ(out, gBoxes[0].second + "\n");
}

TEST(ErrorReport, EmptyMessageStillShowsTheBoxAndAnEmptyLine) {
    gBoxes.clear();
    auto previous = platform::setMessageBox(recordBox);
    ::testing::internal::CaptureStdout();
    error("");
    const std::string out = ::testing::internal::GetCapturedStdout();
    platform::setMessageBox(previous);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0], (std::pair<std::string, std::string>{"Error", ""}));
    EXPECT_EQ(out, "\n");
}

TEST(ErrorReport, TheDesktopBoxNeverHangsWithoutADisplay) {
    // No dialog tool can reach a display that is not there: each fails at once.
    const char* saved = std::getenv("DISPLAY");
    std::string keep = saved ? saved : "";
    setenv("DISPLAY", ":97531", 1);
    platform::desktopMessageBox("Error", "nobody sees this");
    if (saved) setenv("DISPLAY", keep.c_str(), 1); else unsetenv("DISPLAY");
}
