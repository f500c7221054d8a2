// The shipped levels, the solver that vouches for them, and the level tool's
// command line that the build and other scripts rely on.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cWorld.h"
#include "level.h"
#include "solver.h"
#include "soundCue.h"
#include "testSupport.h"

using level::Board;
using level::cPuzzle;
using level::eOrder;
using testing_support::mapFromRows;
using testing_support::ScratchDir;
using testing_support::writeFile;
using testing_support::writeText;

namespace {

constexpr int kLevels = 4;

Board boardFromRows(const std::vector<std::string>& rows) {
    const std::vector<unsigned char> bytes = mapFromRows(rows);
    Board board{};
    std::copy(bytes.begin(), bytes.end(), board.begin());
    return board;
}

std::string mapPath(const char* realm, int n) {
    return std::string(LV_LEVEL_DIR) + "/" + realm + std::to_string(n) + ".map";
}

Board readBoard(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes.size(), 104u) << path;
    Board board{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), board.size()), board.begin());
    return board;
}

struct cRun {
    int status;
    std::string output;
};

// Runs the level tool; stdout and stderr together.
cRun runTool(const std::string& arguments) {
    const std::string command = std::string(LV_LEVEL_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buf[256];
    while (std::fgets(buf, sizeof buf, pipe) != nullptr) output += buf;
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// Left: four cells north to the goal, with a hole east of every one.
// Right: one cell north, then a blocker; its goal lies east of that cell.
// The right hero can only turn east once the left one is home, so it waits
// at its blocker: six orders together, four and three alone.
const std::vector<std::string> kWaitLeft = {"G", ".", ".", ".", "N"};
const std::vector<std::string> kWaitRight = {"", "", "#", ".G", "N"};

} // namespace

class ShippedLevels : public ::testing::Test {
protected:
    struct cShipped {
        level::cLevel mLevel;
        level::cPlan mJoint, mLeftAlone, mRightAlone;
    };

    static void SetUpTestSuite() {
        for (int n = 1; n <= kLevels; ++n) {
            cShipped& s = sLevels[n - 1];
            s.mLevel.mLeft = readBoard(mapPath("lumora", n));
            s.mLevel.mRight = readBoard(mapPath("vexmoor", n));
            s.mJoint = level::solveLevel(s.mLevel);
            s.mLeftAlone = level::solveBoard(s.mLevel.mLeft);
            s.mRightAlone = level::solveBoard(s.mLevel.mRight);
        }
    }

    static std::array<cShipped, kLevels> sLevels;
};
std::array<ShippedLevels::cShipped, kLevels> ShippedLevels::sLevels;

TEST_F(ShippedLevels, EveryLevelIsWonByItsPlanOnTheGamesOwnWorlds) {
    for (int n = 1; n <= kLevels; ++n) {
        SCOPED_TRACE("level " + std::to_string(n));
        const auto& plan = sLevels[n - 1].mJoint;
        ASSERT_TRUE(plan.mSolved);
        // Replay as the game frame does: the files through loadMap, every
        // order to the left world and then the right.
        cWorld left(false), right(true);
        left.loadMap(mapPath("lumora", n));
        right.loadMap(mapPath("vexmoor", n));
        for (eOrder order : plan.mOrders) {
            for (cWorld* world : {&left, &right}) {
                if (order == eOrder::Up) world->moveHeroForward();
                if (order == eOrder::Left) world->getHero()->rotCCW();
                if (order == eOrder::Right) world->getHero()->rotCW();
                ASSERT_TRUE(world->getHero()->alive());
            }
        }
        EXPECT_TRUE(left.getHero()->won());
        EXPECT_TRUE(right.getHero()->won());
    }
}

TEST_F(ShippedLevels, GrowHarderAndNeedBothHeroesOutOfStep) {
    for (int n = 1; n <= kLevels; ++n) {
        const auto& s = sLevels[n - 1];
        SCOPED_TRACE("level " + std::to_string(n));
        ASSERT_TRUE(s.mJoint.mSolved && s.mLeftAlone.mSolved && s.mRightAlone.mSolved);
        if (n > 1) {
            EXPECT_GT(s.mJoint.mOrders.size(), sLevels[n - 2].mJoint.mOrders.size());
            EXPECT_GT(s.mJoint.mOrders.size(), s.mLeftAlone.mOrders.size());
            EXPECT_GT(s.mJoint.mOrders.size(), s.mRightAlone.mOrders.size());
        }
    }
    EXPECT_GE(sLevels[kLevels - 1].mJoint.mOrders.size(), 20u);
}

TEST_F(ShippedLevels, UseEveryKindOfCellAndSlidesInBothRealms) {
    bool hole = false, floor = false, blocker = false, goal = false;
    bool slide[2] = {false, false};
    for (const auto& s : sLevels) {
        for (int side = 0; side < 2; ++side) {
            for (unsigned char b : side == 0 ? s.mLevel.mLeft : s.mLevel.mRight) {
                hole = hole || tile::isHole(b);
                floor = floor || (b != 0 && (b & (tile::kHeroMark | tile::kKindMask)) == 0);
                blocker = blocker || tile::isBlocker(b);
                goal = goal || tile::isGoal(b);
                slide[side] = slide[side] || tile::isSlide(b);
            }
        }
    }
    EXPECT_TRUE(hole);
    EXPECT_TRUE(floor);
    EXPECT_TRUE(blocker);
    EXPECT_TRUE(goal);
    EXPECT_TRUE(slide[0]) << "no ice on Lumora";
    EXPECT_TRUE(slide[1]) << "no oil on Vexmoor";
}

TEST_F(ShippedLevels, ACarelessOrderOnTheWayCanLoseTheLevel) {
    int deadly = 0;
    for (const auto& s : sLevels) {
        cPuzzle puzzle({s.mLevel.mLeft, s.mLevel.mRight});
        std::vector<cHero> heroes = puzzle.start();
        for (eOrder planned : s.mJoint.mOrders) {
            for (eOrder other : {eOrder::Up, eOrder::Left, eOrder::Right}) {
                std::vector<cHero> tried = heroes;
                if (other != planned && !puzzle.give(tried, other)) ++deadly;
            }
            ASSERT_TRUE(puzzle.give(heroes, planned));
        }
        EXPECT_TRUE(cPuzzle::allWon(heroes));
    }
    EXPECT_GT(deadly, 0);
}

TEST(Solver, FindsTheShortestPlanWhenOneHeroMustWait) {
    const level::cLevel pair{boardFromRows(kWaitLeft), boardFromRows(kWaitRight)};
    testing_support::SoundLog sounds;
    const level::cPlan joint = level::solveLevel(pair);
    // The search is silent, and whoever listened before listens again after it.
    EXPECT_TRUE(sounds.names().empty());
    soundCue::play(soundCue::kStep);
    EXPECT_EQ(sounds.names(), std::vector<std::string>{"step"});
    ASSERT_TRUE(joint.mSolved);
    const std::vector<eOrder> expected = {eOrder::Up, eOrder::Up, eOrder::Up,
                                          eOrder::Up, eOrder::Right, eOrder::Up};
    EXPECT_EQ(joint.mOrders, expected);
    EXPECT_EQ(level::solveBoard(pair.mLeft).mOrders.size(), 4u);
    EXPECT_EQ(level::solveBoard(pair.mRight).mOrders.size(), 3u);
}

TEST(Solver, ReportsAPairThatCannotBothWin) {
    // Each board is won in a move or two, but every first move that helps one
    // hero drops the other into a hole.
    const level::cLevel pair{boardFromRows({"G", "N"}), boardFromRows({"", "NG"})};
    EXPECT_TRUE(level::solveBoard(pair.mLeft).mSolved);
    EXPECT_TRUE(level::solveBoard(pair.mRight).mSolved);
    EXPECT_FALSE(level::solveLevel(pair).mSolved);
}

TEST(LevelText, ShowPrintsTextThatReadsBackToTheSameBoards) {
    for (int n = 1; n <= kLevels; ++n) {
        level::cLevel shipped{readBoard(mapPath("lumora", n)), readBoard(mapPath("vexmoor", n))};
        level::cLevel again;
        ASSERT_EQ(level::parseLevelText(level::formatLevelText(shipped), again), "");
        EXPECT_EQ(again.mLeft, shipped.mLeft);
        EXPECT_EQ(again.mRight, shipped.mRight);
    }
}

TEST(LevelTool, SolvePrintsOrdersAndKeysOrSaysUnsolvable) {
    ScratchDir dir;
    writeFile("l.map", mapFromRows(kWaitLeft));
    writeFile("r.map", mapFromRows(kWaitRight));
    const cRun solved = runTool("solve --per-board l.map r.map");
    EXPECT_EQ(solved.status, 0);
    EXPECT_EQ(solved.output,
              "orders: 6\nkeys: up up up up right up\nleft alone: 4\nright alone: 3\n");

    writeFile("r.map", mapFromRows({"", "", "", "GN"}));
    const cRun stuck = runTool("solve l.map r.map");
    EXPECT_EQ(stuck.status, 2);
    EXPECT_EQ(stuck.output, "unsolvable\n");
}

TEST(LevelTool, CompileWritesBothMapsOfALevelText) {
    ScratchDir dir;
    std::string text;
    for (int y = 0; y < 13; ++y) {
        text += y == 0 ? "|  G     |  |#G      |\n" : y == 1 ? "|  ^     |  |.<      |\n"
                                                            : "|        |  |        |\n";
    }
    writeText("level7.txt", text);
    const cRun run = runTool("compile level7.txt out 7");
    ASSERT_EQ(run.status, 0) << run.output;
    const Board left = readBoard("out/lumora7.map");
    const Board right = readBoard("out/vexmoor7.map");
    EXPECT_EQ(left[2], 0x60 | 12);  // goal on its usual picture
    EXPECT_EQ(left[10], 0x30 | 14); // start pad, facing north
    EXPECT_EQ(right[0], 0x20 | 7);  // blocker
    EXPECT_EQ(right[9], 0x50 | 14); // facing west
    EXPECT_EQ(right[8] & (tile::kHeroMark | tile::kKindMask), 0);
    EXPECT_NE(right[8], 0);         // a floor, never a hole
}

TEST(LevelTool, CheckRejectsMapsAndTextsTheGameCannotPlay) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        const char* message;
    };
    std::vector<unsigned char> good = mapFromRows({"G", "N"});
    std::vector<unsigned char> shortMap = good;
    shortMap.pop_back();
    std::vector<unsigned char> twoHeroes = mapFromRows({"G", "N", "S"});
    std::string twelveRows;
    for (int y = 0; y < 12; ++y) twelveRows += "|G^      |  |G^      |\n";
    std::string badKind = twelveRows + "|   x    |  |        |\n";

    const Case cases[] = {
        {"short.map", shortMap, "holds 103 bytes"},
        {"nohero.map", mapFromRows({"G", "."}), "no hero mark"},
        {"twoheroes.map", twoHeroes, "2 hero marks"},
        {"nogoal.map", mapFromRows({".", "N"}), "no goal"},
        {"rows.txt", std::vector<unsigned char>(twelveRows.begin(), twelveRows.end()),
         "13 board rows"},
        {"kind.txt", std::vector<unsigned char>(badKind.begin(), badKind.end()),
         "line 13: 'x' is no cell kind"},
    };
    ScratchDir dir;
    writeFile("good.map", good);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(c.name, c.bytes);
        const cRun run = runTool(std::string("check ") + c.name);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        // One bad file among good ones still fails the whole check.
        EXPECT_EQ(runTool(std::string("check good.map ") + c.name).status, 1);
    }
    const cRun fine = runTool("check good.map");
    EXPECT_EQ(fine.status, 0);
    EXPECT_NE(fine.output.find("fit to play"), std::string::npos);
}
