// The game over a damaged data tree: pictures and sounds missing or broken,
// the whole tree missing, and level files of every wrong shape. Each case runs
// in a process of its own, so that a crash or a hang fails that case alone,
// and the one sound cache starts empty.
#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "cSounds.h"
#include "cWorld.h"
#include "fixture.h"
#include "isolated.h"
#include "player.h"
#include "testSupport.h"

namespace fs = std::filesystem;
using testing_support::ScratchDir;
using testing_support::writeFile;
using Bytes = std::vector<unsigned char>;

namespace {

std::string testName(std::string text) {
    for (char& c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return text;
}

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The colour the screen shows at (x, y).
Uint32 pixelAt(SDL_Surface* screen, int x, int y) {
    SDL_LockSurface(screen);
    const Uint8* row = static_cast<const Uint8*>(screen->pixels) + y * screen->pitch;
    const Uint32 value = reinterpret_cast<const Uint16*>(row)[x];
    SDL_UnlockSurface(screen);
    return value;
}

Uint32 screenColour(SDL_Surface* screen, std::uint32_t rgb) {
    return SDL_MapRGB(screen->format, rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Escape in the menu through the real loop: one pass, then it returns.
void quitFromMenu(cGame& game, Player& player) {
    ASSERT_EQ(player.probe().mode(), MODE_MENU);
    player.hold({SDLK_ESCAPE});
    game.run();
    EXPECT_TRUE(player.probe().quitting());
}

void expectAt(Player& player, std::int8_t mode, int level) {
    EXPECT_EQ(player.probe().mode(), mode);
    EXPECT_EQ(player.probe().level(), level);
}

} // namespace

// ---- Pictures and sounds: missing, cut short, not what they claim to be, or
// a directory or a named pipe in their place.

struct FileDamage {
    std::string name;
    std::string path;
    enum Kind { missing, truncated, garbage, directory, pipe } kind;
};

void PrintTo(const FileDamage& d, std::ostream* os) { *os << d.name; }

class DamagedFile : public ::testing::TestWithParam<FileDamage> {
protected:
    void SetUp() override { fixture::writeAll(); }
    ScratchDir dir;
};

// A damaged picture or sound changes nothing in play: the same screens follow
// one another, levels are won and lost as with the whole tree, and the game
// quits. Whatever still loads is still drawn and heard.
TEST_P(DamagedFile, PlaysAsWithTheWholeTree) {
    const FileDamage& damage = GetParam();
    const Bytes whole = fileBytes(damage.path);
    switch (damage.kind) {
    case FileDamage::missing: fs::remove(damage.path); break;
    case FileDamage::truncated: writeFile(damage.path, Bytes(whole.begin(), whole.begin() + whole.size() / 2)); break;
    case FileDamage::garbage: testing_support::writeText(damage.path, "this is not what it claims to be"); break;
    case FileDamage::directory: fs::remove(damage.path); fs::create_directory(damage.path); break;
    case FileDamage::pipe: fs::remove(damage.path); mkfifo(damage.path.c_str(), 0600); break; // nobody writes
    }

    runIsolated([&] {
        cGame game;
        Player player(game);
        ASSERT_TRUE(game.init());
        player.pass(); // one splash pass, then on without waiting for SDL's clock
        player.probe().setMode(MODE_INSTRUCTIONS);
        player.press(SDLK_SPACE);
        expectAt(player, MODE_MENU, 1);
        player.press(SDLK_RIGHT);
        player.press(SDLK_LEFT);
        player.press(SDLK_SPACE);
        expectAt(player, MODE_GAME, 1);
        for (int i = 0; i < 4; ++i) player.press(SDLK_RIGHT); // every facing once
        player.press(SDLK_UP);
        player.press(SDLK_UP);
        player.passes(6); // both exit animations
        expectAt(player, MODE_GAME, 2);
        player.press(SDLK_ESCAPE);
        expectAt(player, MODE_MENU, 2);
        player.press(SDLK_SPACE);
        player.press(SDLK_RIGHT);
        player.press(SDLK_UP); // both fall
        player.passes(6); // the death animations: six more frames, the last shown twice
        expectAt(player, MODE_GAME, 2);
        player.pass(); // they have run out: lost
        expectAt(player, MODE_MENU, 2);
        quitFromMenu(game, player);

        SDL_Surface* screen = player.probe().screen();
        if (damage.path != "data/menu/background.png") {
            EXPECT_EQ(pixelAt(screen, 5, 5), screenColour(screen, fixture::colourOf("data/menu/background.png")));
        }
        // The session asked for every picture of the tree (a failed one keeps an
        // empty entry), and for the realm directory that the hero who finished
        // first names once it has vanished.
        EXPECT_EQ(player.probe().cachedPictures(), fixture::pictures().size() + 1);
        // A WAV cut short may be refused or played as far as it goes (the two
        // SDL 1.2 libraries differ); every other damaged sound stays unheard.
        for (const std::string& sound : fixture::sounds()) {
            if (sound == damage.path && damage.kind == FileDamage::truncated) continue;
            EXPECT_EQ(cSounds::inst()->chunk(sound) == nullptr, sound == damage.path) << sound;
        }
        game.end();
    });
}

std::vector<FileDamage> damagedFiles() {
    std::vector<FileDamage> list;
    for (const auto* paths : {&fixture::pictures(), &fixture::sounds()}) {
        for (const std::string& path : *paths) list.push_back({"missing_" + testName(path), path, FileDamage::missing});
    }
    const std::pair<std::string, FileDamage::Kind> broken[] = {
        {"data/menu/background.png", FileDamage::truncated}, {"data/devil/east.png", FileDamage::truncated},
        {"data/tiles/A01.png", FileDamage::garbage},         {"data/angel/die3.png", FileDamage::garbage},
        {"data/sounds/step.wav", FileDamage::truncated},     {"data/sounds/win.wav", FileDamage::garbage},
        {"data/menu/logo.png", FileDamage::directory},       {"data/sounds/ohno.wav", FileDamage::directory},
        {"data/tiles/goal.png", FileDamage::pipe},           {"data/sounds/win.wav", FileDamage::pipe},
    };
    const char* const names[] = {"missing_", "truncated_", "garbage_", "directory_", "pipe_"};
    for (const auto& [path, kind] : broken) list.push_back({names[kind] + testName(path), path, kind});
    return list;
}

INSTANTIATE_TEST_SUITE_P(EachFile, DamagedFile, ::testing::ValuesIn(damagedFiles()),
                         [](const auto& info) { return info.param.name; });

// ---- No data at all.

TEST(NoDataTree, EveryScreenRunsAndTheGameQuits) {
    ScratchDir dir;
    runIsolated([&] {
        cGame game;
        Player player(game);
        ASSERT_TRUE(game.init());
        EXPECT_EQ(player.probe().left()->getHero(), nullptr);
        player.pass();
        player.probe().setMode(MODE_INSTRUCTIONS);
        player.press(SDLK_SPACE);
        player.press(SDLK_RIGHT);
        player.press(SDLK_LEFT);
        player.press(SDLK_SPACE);
        expectAt(player, MODE_GAME, 1);
        player.pass(); // no hero on either board: lost at once
        expectAt(player, MODE_MENU, 1);
        quitFromMenu(game, player);
        EXPECT_EQ(pixelAt(player.probe().screen(), 5, 5), 0u); // nothing to draw, nothing drawn
        game.end();
    });
}

// ---- Level files of every wrong shape.

struct LevelDamage {
    std::string name;
    int realm, level;
    enum Kind { bytes, directory, pipe } kind;
    Bytes content;
    Bytes board; // the board it leaves, by cell
    std::optional<std::tuple<int, int, signed char>> hero; // x, y, facing
};

void PrintTo(const LevelDamage& d, std::ostream* os) { *os << d.name; }

class DamagedLevel : public ::testing::TestWithParam<LevelDamage> {
protected:
    void SetUp() override { fixture::writeAll(); }
    ScratchDir dir;
};

// The damaged file is read when its level is chosen in the menu; the board
// then holds what the file gave it, the hero stands where its last mark put
// it (or where it was), and play either goes on or, with no hero, is lost at
// once. Either way the game gets back to the menu and quits.
TEST_P(DamagedLevel, LoadsWhatItCanAndPlayGoesOn) {
    const LevelDamage& damage = GetParam();
    const std::string path = fixture::levelPath(damage.realm, damage.level);
    fs::remove(path);
    switch (damage.kind) {
    case LevelDamage::bytes: writeFile(path, damage.content); break;
    case LevelDamage::directory: fs::create_directory(path); break;
    case LevelDamage::pipe: mkfifo(path.c_str(), 0600); break; // nobody writes
    }

    runIsolated([&] {
        cGame game;
        Player player(game);
        ASSERT_TRUE(game.init());
        player.pass();
        player.probe().setMode(MODE_INSTRUCTIONS);
        player.press(SDLK_SPACE);
        for (int level = 1; level < damage.level; ++level) player.press(SDLK_RIGHT);
        expectAt(player, MODE_MENU, damage.level);

        const cWorld* world = damage.realm == 0 ? player.probe().left() : player.probe().right();
        Bytes board(tile::kCells, 0);
        std::copy(damage.board.begin(), damage.board.end(), board.begin());
        for (int i = 0; i < tile::kCells; ++i) {
            ASSERT_EQ(world->getTile(i % tile::kColumns, i / tile::kColumns), tile::widen(board[i])) << "cell " << i;
        }
        const cHero* hero = world->getHero();
        ASSERT_EQ(hero != nullptr, damage.hero.has_value());
        if (hero != nullptr) {
            EXPECT_EQ(std::make_tuple(int(hero->getX()), int(hero->getY()), hero->getDir()), *damage.hero);
        }

        player.press(SDLK_SPACE);
        expectAt(player, MODE_GAME, damage.level);
        player.pass();
        EXPECT_EQ(player.probe().mode(), hero != nullptr ? MODE_GAME : MODE_MENU);
        for (SDLKey key : {SDLK_UP, SDLK_RIGHT, SDLK_UP, SDLK_LEFT, SDLK_LEFT, SDLK_UP, SDLK_DOWN}) {
            if (player.probe().mode() == MODE_GAME) player.press(key);
        }
        player.passes(10); // a death animation runs out
        if (player.probe().mode() == MODE_GAME) player.press(SDLK_ESCAPE);
        quitFromMenu(game, player);
        game.end();
    });
}

std::vector<LevelDamage> damagedLevels() {
    const Bytes left1 = fixture::level(0, 1);
    const Bytes left2 = fixture::level(0, 2);
    const Bytes right1 = fixture::level(1, 1);
    const auto startOfLevel1 = std::make_tuple(0, 2, tile::kNorth);
    const auto startOfLevel2 = std::make_tuple(1, 2, tile::kNorth);

    Bytes withoutHero = left1;
    for (unsigned char& b : withoutHero) {
        if (tile::isHeroStart(b)) b = 0x01;
    }
    Bytes manyHeroes = left1;
    for (int i : {3, 40, 90, 95}) manyHeroes[i] = 0x55; // the last one faces west
    Bytes longer = left1;
    longer.push_back(0x10); // past the end: never read, so no hero here

    return {
        // A level file that gives no cells leaves the hero where the level before put it.
        {"empty", 0, 2, LevelDamage::bytes, Bytes{}, Bytes{}, startOfLevel1},
        {"oneByte", 0, 1, LevelDamage::bytes, Bytes{0x75}, Bytes{0x75}, std::make_tuple(0, 0, tile::kEast)},
        {"bytes103", 0, 2, LevelDamage::bytes, Bytes(left2.begin(), left2.end() - 1),
         Bytes(left2.begin(), left2.end() - 1), startOfLevel2},
        {"bytes105", 0, 1, LevelDamage::bytes, longer, left1, startOfLevel1},
        {"allFF", 0, 1, LevelDamage::bytes, Bytes(tile::kCells, 0xFF), Bytes(tile::kCells, 0xFF),
         std::make_tuple(7, 12, tile::kEast)},
        {"withoutHero", 0, 1, LevelDamage::bytes, withoutHero, withoutHero, std::nullopt},
        {"manyHeroes", 0, 1, LevelDamage::bytes, manyHeroes, manyHeroes, std::make_tuple(95 % 8, 95 / 8, tile::kWest)},
        // Neither can be read: the board and hero stay as level 1 left them.
        {"directory", 1, 2, LevelDamage::directory, {}, right1, startOfLevel1},
        {"pipe", 1, 2, LevelDamage::pipe, {}, right1, startOfLevel1},
    };
}

INSTANTIATE_TEST_SUITE_P(EachShape, DamagedLevel, ::testing::ValuesIn(damagedLevels()),
                         [](const auto& info) { return info.param.name; });
