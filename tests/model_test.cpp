// The puzzle model: tile bytes, level map files, turning, the movement rules
// and the hero's pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "cWorld.h"
#include "testSupport.h"

using testing_support::loadRows;
using testing_support::ScratchDir;
using testing_support::SoundLog;
using testing_support::writeFile;
using Names = std::vector<std::string>;

namespace {

std::vector<unsigned char> filled(std::size_t size, unsigned char value) {
    return std::vector<unsigned char>(size, value);
}

} // namespace

TEST(TileByte, KindsAndStartDirections) {
    struct Case {
        unsigned char byte;
        bool hole, blocker, slide, goal, heroStart;
        signed char dir;
    };
    const Case cases[] = {
        {0x00, true, false, false, false, false, 0},  {0x05, false, false, false, false, false, 0},
        {0x80, false, false, false, false, false, 0}, {0x25, false, true, false, false, false, 0},
        {0x20, false, true, false, false, false, 0},  {0x45, false, false, true, false, false, 0},
        {0x65, false, false, false, true, false, 0},  {0xE0, false, false, false, true, false, 0},
        {0x10, false, false, false, false, true, 4},  {0x35, false, false, false, false, true, 1},
        {0x55, false, false, false, false, true, 8},  {0x75, false, false, false, false, true, 2},
    };
    for (const Case& c : cases) {
        const std::uint32_t t = tile::widen(c.byte);
        SCOPED_TRACE(static_cast<int>(c.byte));
        EXPECT_EQ(tile::isHole(t), c.hole);
        EXPECT_EQ(tile::isBlocker(t), c.blocker);
        EXPECT_EQ(tile::isSlide(t), c.slide);
        EXPECT_EQ(tile::isGoal(t), c.goal);
        EXPECT_EQ(tile::isHeroStart(t), c.heroStart);
        if (c.heroStart) {
            EXPECT_EQ(tile::startDirection(t), c.dir);
        }
    }
}

class WorldFiles : public ::testing::Test {
protected:
    ScratchDir dir;
    cWorld world{false};
};

TEST_F(WorldFiles, GetTileReadsEveryCellAndHolesOffTheBoard) {
    std::vector<unsigned char> bytes(104);
    for (int i = 0; i < 104; ++i) bytes[i] = static_cast<unsigned char>(i + 1);
    writeFile("m.map", bytes);
    world.loadMap("m.map");
    EXPECT_EQ(world.getTile(0, 0), 1u);
    EXPECT_EQ(world.getTile(7, 0), 8u);
    EXPECT_EQ(world.getTile(0, 1), 9u);
    EXPECT_EQ(world.getTile(7, 12), 104u);
    EXPECT_EQ(world.getTile(8, 0), 0u);
    EXPECT_EQ(world.getTile(0, 13), 0u);
    const unsigned minusOne = static_cast<unsigned>(static_cast<int>(static_cast<signed char>(-1)));
    EXPECT_EQ(world.getTile(minusOne, 0), 0u);
    EXPECT_EQ(world.getTile(0, minusOne), 0u);
}

TEST_F(WorldFiles, EveryByteValueIsOneCellSignWidened) {
    std::vector<unsigned char> bytes = {0x0A, 0x0D, 0x1A, 0xFF, 0x80};
    bytes.resize(104, 0x01);
    writeFile("m.map", bytes);
    world.loadMap("m.map");
    EXPECT_EQ(world.getTile(0, 0), 0x0Au);
    EXPECT_EQ(world.getTile(1, 0), 0x0Du);
    EXPECT_EQ(world.getTile(2, 0), 0x1Au);
    EXPECT_EQ(world.getTile(3, 0), 4294967295u);
    EXPECT_EQ(world.getTile(4, 0), 0xFFFFFF80u);
    EXPECT_EQ(world.getTile(5, 0), 1u);
    // 0x1A and 0xFF carry the hero mark; the last one in file order places the hero.
    ASSERT_NE(world.getHero(), nullptr);
    EXPECT_EQ(world.getHero()->getX(), 3);
    EXPECT_EQ(world.getHero()->getDir(), tile::kEast);
}

TEST_F(WorldFiles, NewWorldIsAllHolesWithoutHero) {
    EXPECT_EQ(world.getHero(), nullptr);
    ::testing::internal::CaptureStdout();
    world.dumpMap();
    std::string expected;
    for (int y = 0; y < 13; ++y) expected += "0\t0\t0\t0\t0\t0\t0\t0\t\n";
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), expected);
}

TEST_F(WorldFiles, DumpMapPrintsUnsignedValues) {
    std::vector<unsigned char> bytes(104, 0);
    bytes[0] = 0xFF;
    bytes[7] = 0x65;
    bytes[103] = 0x01;
    writeFile("m.map", bytes);
    world.loadMap("m.map");
    ::testing::internal::CaptureStdout();
    world.dumpMap();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "4294967295\t0\t0\t0\t0\t0\t0\t101\t\n");
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), "0\t0\t0\t0\t0\t0\t0\t1\t\n");
}

TEST_F(WorldFiles, HeroMarksPlaceTheHeroOnTheLastOne) {
    struct Case {
        std::vector<std::pair<int, unsigned char>> marks;
        int x, y;
        signed char dir;
    };
    const Case cases[] = {
        {{{9, 0x10}}, 1, 1, tile::kSouth},
        {{{9, 0x30}}, 1, 1, tile::kNorth},
        {{{9, 0x50}}, 1, 1, tile::kWest},
        {{{9, 0x70}}, 1, 1, tile::kEast},
        {{{2, 0x70}, {50, 0x31}}, 2, 6, tile::kNorth},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes(104, 0x01);
        for (auto [index, byte] : c.marks) bytes[index] = byte;
        writeFile("m.map", bytes);
        cWorld fresh(true);
        fresh.loadMap("m.map");
        ASSERT_NE(fresh.getHero(), nullptr);
        EXPECT_EQ(fresh.getHero()->getX(), c.x);
        EXPECT_EQ(fresh.getHero()->getY(), c.y);
        EXPECT_EQ(fresh.getHero()->getDir(), c.dir);
        EXPECT_TRUE(fresh.getHero()->alive());
        EXPECT_FALSE(fresh.getHero()->won());
        // Every mark keeps its byte on the board.
        for (auto [index, byte] : c.marks) EXPECT_EQ(fresh.getTile(index % 8, index / 8), byte);
    }
}

TEST_F(WorldFiles, MapWithoutHeroKeepsTheHeroAndItsFlags) {
    loadRows(world, {"S", " "});
    world.moveHeroForward(); // falls into the hole below
    cHero* before = world.getHero();
    ASSERT_FALSE(before->alive());
    writeFile("m.map", filled(104, 0x65));
    world.loadMap("m.map");
    EXPECT_EQ(world.getHero(), before);
    EXPECT_EQ(before->getY(), 1);
    EXPECT_FALSE(before->alive());
    EXPECT_TRUE(before->animating());
    EXPECT_EQ(world.getTile(0, 0), 0x65u);
}

TEST_F(WorldFiles, UnreadableFileKeepsBoardAndHero) {
    loadRows(world, {".E."});
    cHero* hero = world.getHero();
    world.loadMap("no-such-file.map");
    std::filesystem::create_directory("a-directory.map");
    world.loadMap("a-directory.map");
    EXPECT_EQ(world.getHero(), hero);
    EXPECT_EQ(world.getTile(0, 0), 0x01u);
    EXPECT_EQ(world.getTile(1, 0), 0x71u);
}

TEST_F(WorldFiles, LongAndShortFiles) {
    // Longer: the first 104 bytes count, the rest is never read.
    std::vector<unsigned char> longer(104, 0x02);
    longer.resize(200, 0x10);
    writeFile("long.map", longer);
    loadRows(world, {"S"});
    cHero* hero = world.getHero();
    world.loadMap("long.map");
    EXPECT_EQ(world.getHero(), hero);
    EXPECT_EQ(world.getTile(7, 12), 2u);

    // Shorter: cells past the end are holes; a hero byte at the end places one hero there.
    std::vector<unsigned char> shorter(10, 0x03);
    shorter[9] = 0x10;
    writeFile("short.map", shorter);
    world.loadMap("short.map");
    ASSERT_NE(world.getHero(), nullptr);
    EXPECT_EQ(world.getHero()->getX(), 1);
    EXPECT_EQ(world.getHero()->getY(), 1);
    EXPECT_EQ(world.getTile(0, 1), 3u);
    EXPECT_EQ(world.getTile(1, 1), 0x10u);
    EXPECT_EQ(world.getTile(2, 1), 0u);
    EXPECT_EQ(world.getTile(7, 12), 0u);

    // Empty: a board of holes, the hero untouched.
    hero = world.getHero();
    writeFile("empty.map", {});
    world.loadMap("empty.map");
    EXPECT_EQ(world.getHero(), hero);
    EXPECT_EQ(world.getTile(0, 0), 0u);
    EXPECT_EQ(world.getTile(0, 1), 0u);
}

TEST(HeroTurning, TurnsAndTheWonHeroStandsStill) {
    const signed char cw[] = {0, 2, 4, 0, 8, 0, 0, 0, 1};
    const signed char ccw[] = {0, 8, 1, 0, 2, 0, 0, 0, 4};
    for (signed char dir : {1, 2, 4, 8}) {
        cHero a(dir, 0, 0, false);
        a.rotCW();
        EXPECT_EQ(a.getDir(), cw[dir]);
        cHero b(dir, 0, 0, false);
        b.rotCCW();
        EXPECT_EQ(b.getDir(), ccw[dir]);
        for (int i = 0; i < 3; ++i) a.rotCW();
        EXPECT_EQ(a.getDir(), dir);
    }
    SoundLog sounds;
    cHero winner(tile::kNorth, 0, 0, false);
    winner.win();
    winner.rotCW();
    winner.rotCCW();
    EXPECT_EQ(winner.getDir(), tile::kNorth);
    cHero fallen(tile::kNorth, 0, 0, false);
    fallen.die();
    fallen.rotCW();
    EXPECT_EQ(fallen.getDir(), tile::kEast);
    EXPECT_EQ(sounds.names(), (Names{"win", "ohno"}));
}

TEST(HeroStepping, StepsWithoutLookingAndDiesAgainKeepingItsFrame) {
    SoundLog sounds;
    cHero hero(tile::kWest, 0, 0, false);
    hero.moveForward();
    EXPECT_EQ(hero.getX(), -1);
    hero.die();
    hero.getSprite();
    hero.getSprite();
    hero.die();
    EXPECT_EQ(hero.frame(), 2);
    EXPECT_EQ(sounds.names(), (Names{"step", "ohno", "ohno"}));
}

// The movement rules, each case a small board with the hero's start and the
// cues and outcome one forward order produces.
struct MoveCase {
    const char* name;
    std::vector<std::string> rows;
    bool result;
    int x, y;
    bool alive, won;
    Names sounds;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class MovementRules : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MovementRules, OneForwardOrder) {
    const MoveCase& c = GetParam();
    cWorld world(false);
    loadRows(world, c.rows);
    SoundLog sounds;
    EXPECT_EQ(world.moveHeroForward(), c.result);
    const cHero* hero = world.getHero();
    EXPECT_EQ(hero->getX(), c.x);
    EXPECT_EQ(hero->getY(), c.y);
    EXPECT_EQ(hero->alive(), c.alive);
    EXPECT_EQ(hero->won(), c.won);
    EXPECT_EQ(sounds.names(), c.sounds);
}

INSTANTIATE_TEST_SUITE_P(
    Forward, MovementRules,
    ::testing::Values(
        MoveCase{"floor", {"E."}, true, 1, 0, true, false, {"step"}},
        MoveCase{"blocker", {"E#"}, false, 0, 0, true, false, {}},
        MoveCase{"hole", {"E ."}, true, 1, 0, false, false, {"step", "ohno"}},
        MoveCase{"eastEdge", {".......E"}, true, 8, 0, false, false, {"step", "ohno"}},
        MoveCase{"westEdge", {"W"}, true, -1, 0, false, false, {"step", "ohno"}},
        MoveCase{"northEdge", {"N"}, true, 0, -1, false, false, {"step", "ohno"}},
        MoveCase{"southEdge", {"", "", "", "", "", "", "", "", "", "", "", "", "S"}, true, 0, 13, false,
                 false, {"step", "ohno"}},
        MoveCase{"goal", {"EG"}, true, 1, 0, true, true, {"step", "win"}},
        MoveCase{"slidesIntoBlocker", {"E~~~#"}, false, 3, 0, true, false, {"step", "step", "step"}},
        MoveCase{"slideIntoHole", {"E~ "}, true, 2, 0, false, false, {"step", "step", "ohno"}},
        MoveCase{"slideIntoGoal", {"E~G"}, true, 2, 0, true, true, {"step", "step", "win"}},
        MoveCase{"slideIntoFloor", {"E~~."}, true, 3, 0, true, false, {"step", "step", "step"}},
        MoveCase{"slideOffTheEdge", {".....E~~"}, true, 8, 0, false, false,
                 {"step", "step", "step", "ohno"}},
        MoveCase{"slideDownAColumn", {"S", "~", "~", "~", "~", "~", "~", "~", "~", "~", "~", "~", "~"},
                 true, 0, 13, false, false,
                 {"step", "step", "step", "step", "step", "step", "step", "step", "step", "step", "step",
                  "step", "step", "ohno"}},
        MoveCase{"ontoAnotherStartCell", {"SW"}, true, 0, 0, true, false, {"step"}}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

TEST(MovementRulesOverTime, AHeroOnItsGoalIsRefusedForever) {
    cWorld world(true);
    loadRows(world, {"EG."});
    world.moveHeroForward();
    SoundLog sounds;
    EXPECT_FALSE(world.moveHeroForward());
    EXPECT_FALSE(world.moveHeroForward());
    EXPECT_EQ(world.getHero()->getX(), 1);
    EXPECT_TRUE(sounds.names().empty());
}

TEST(MovementRulesOverTime, AStoppedSlideDoesNotCarryOn) {
    cWorld world(false);
    loadRows(world, {"E~#", " ."});
    world.moveHeroForward();
    world.getHero()->rotCW(); // now facing south, onto the floor below the slide
    SoundLog sounds;
    EXPECT_TRUE(world.moveHeroForward());
    EXPECT_EQ(world.getHero()->getX(), 1);
    EXPECT_EQ(world.getHero()->getY(), 1);
    EXPECT_EQ(sounds.names(), Names{"step"});
}

TEST(MovementRulesOverTime, ADeadHeroStillMovesFallsAgainAndMayReachAGoal) {
    cWorld world(false);
    loadRows(world, {"E . G"});
    SoundLog sounds;
    world.moveHeroForward(); // into the hole
    world.moveHeroForward(); // out onto the floor, still dead
    EXPECT_FALSE(world.getHero()->alive());
    EXPECT_EQ(world.getHero()->getX(), 2);
    world.moveHeroForward(); // into the next hole: the fall plays again
    world.moveHeroForward(); // onto the goal
    EXPECT_FALSE(world.getHero()->alive());
    EXPECT_TRUE(world.getHero()->won());
    EXPECT_EQ(sounds.names(), (Names{"step", "ohno", "step", "step", "ohno", "step", "win"}));
}

TEST(MovementRulesOverTime, PictureNumberZeroStillActsByKind) {
    ScratchDir dir;
    cWorld world(false);
    std::vector<unsigned char> bytes(104, 0);
    bytes[0] = 0x70; // hero facing east, no picture
    bytes[1] = 0x40; // slide without a picture
    bytes[2] = 0x20; // blocker without a picture
    writeFile("m.map", bytes);
    world.loadMap("m.map");
    EXPECT_FALSE(world.moveHeroForward());
    EXPECT_EQ(world.getHero()->getX(), 1);
}

TEST(MovementRulesOverTime, BackwardAndHerolessOrdersChangeNothing) {
    cWorld world(false);
    SoundLog sounds;
    EXPECT_FALSE(world.moveHeroForward());
    EXPECT_TRUE(world.moveHeroBack());
    loadRows(world, {"E."});
    EXPECT_TRUE(world.moveHeroBack());
    EXPECT_EQ(world.getHero()->getX(), 0);
    EXPECT_TRUE(sounds.names().empty());
}

TEST(HeroSprite, WalkingPicturesFollowTheFacing) {
    struct Case {
        signed char dir;
        bool right;
        const char* path;
    };
    const Case cases[] = {
        {2, false, "data/devil/east.png"},  {1, true, "data/angel/north.png"},
        {4, false, "data/devil/south.png"}, {8, true, "data/angel/west.png"},
        {0, false, "data/devil/south.png"}, {3, true, "data/angel/south.png"},
        {16, false, "data/devil/south.png"},
    };
    for (const Case& c : cases) {
        cHero hero(c.dir, 0, 0, c.right);
        EXPECT_EQ(hero.getSprite(), c.path);
        EXPECT_EQ(hero.getSprite(), c.path);
        EXPECT_EQ(hero.frame(), 0);
        EXPECT_FALSE(hero.animating());
    }
}

TEST(HeroSprite, ExitAndDeathAnimationsFrameByFrame) {
    cHero winner(tile::kNorth, 0, 0, true);
    winner.win();
    const Names exits = {"exit1.png", "exit2.png", "exit3.png", "exit4.png", "exit4.png", "", ""};
    for (const std::string& name : exits) EXPECT_EQ(winner.getSprite(), "data/angel/" + name);
    EXPECT_FALSE(winner.animating());
    EXPECT_EQ(winner.frame(), 0);

    cHero loser(tile::kNorth, 0, 0, false);
    loser.die();
    const Names deaths = {"die1.png", "die2.png", "die3.png", "die4.png", "die5.png",
                          "die6.png", "die6.png", "",         ""};
    for (std::size_t i = 0; i < deaths.size(); ++i) {
        EXPECT_EQ(loser.getSprite(), "data/devil/" + deaths[i]);
        EXPECT_EQ(loser.animating(), i < 6);
    }
    // An ended animation starts again from its first frame.
    loser.die();
    EXPECT_EQ(loser.getSprite(), "data/devil/die1.png");
}

TEST(HeroSprite, WinDuringDeathContinuesWithTheExitFrames) {
    cHero early(tile::kNorth, 0, 0, false);
    early.die();
    early.getSprite();
    early.getSprite(); // frame 2
    early.win();       // dead and won: the exit animation wins
    EXPECT_EQ(early.getSprite(), "data/devil/exit3.png");

    cHero late(tile::kNorth, 0, 0, false);
    late.die();
    for (int i = 0; i < 5; ++i) late.getSprite(); // frame 5
    late.win();
    EXPECT_EQ(late.getSprite(), "data/devil/exit4.png");
    EXPECT_FALSE(late.animating());
    EXPECT_EQ(late.getSprite(), "data/devil/");
}
