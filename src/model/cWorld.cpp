#include "cWorld.h"

#include <cstdio>

#include "gameFile.h"

cWorld::cWorld(bool rightSide) : mRightSide(rightSide) {}

std::uint32_t cWorld::getTile(unsigned int x, unsigned int y) const {
    if (x < tile::kColumns && y < tile::kRows) {
        return mTiles[tile::cellIndex(static_cast<int>(x), static_cast<int>(y))];
    }
    return 0;
}

void cWorld::loadMap(std::string path) {
    if (!isGameFile(path)) return; // the board stays as it was
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return;
    unsigned char bytes[tile::kCells];
    const std::size_t count = std::fread(bytes, 1, sizeof bytes, file);
    const bool unreadable = std::ferror(file) != 0;
    std::fclose(file);
    if (unreadable) return;

    loadBytes(bytes, count);
}

void cWorld::loadBytes(const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < tile::kCells; ++i) {
        if (i >= count) {
            mTiles[i] = 0;
            continue;
        }
        mTiles[i] = tile::widen(bytes[i]);
        if (tile::isHeroStart(bytes[i])) {
            mHero = std::make_unique<cHero>(tile::startDirection(bytes[i]),
                                            static_cast<signed char>(i % tile::kColumns),
                                            static_cast<signed char>(i / tile::kColumns),
                                            mRightSide);
        }
    }
}

void cWorld::dumpMap() const {
    for (int y = 0; y < tile::kRows; ++y) {
        for (int x = 0; x < tile::kColumns; ++x) {
            std::printf("%u\t", static_cast<unsigned>(mTiles[tile::cellIndex(x, y)]));
        }
        std::printf("\n");
        std::fflush(stdout);
    }
}

bool cWorld::moveHeroForward() {
    cHero* hero = mHero.get();
    if (hero == nullptr) return false;
    // A slide carries the hero on in the same direction; the board is finite
    // and the direction never changes, so a chain ends within one column's
    // length. The bound only guards against a hero placed with a direction
    // code that is none of the four, which would face its own slide forever.
    for (int rule = 0; rule <= tile::kRows; ++rule) {
        // Coordinates are widened with their sign: -1 becomes the largest
        // unsigned value and reads as a hole.
        const std::uint32_t here = getTile(static_cast<unsigned>(static_cast<int>(hero->getX())),
                                           static_cast<unsigned>(static_cast<int>(hero->getY())));
        const std::uint32_t ahead =
            getTile(static_cast<unsigned>(static_cast<int>(hero->getForwardX())),
                    static_cast<unsigned>(static_cast<int>(hero->getForwardY())));
        if (tile::isGoal(here)) return false;
        if (tile::isSlide(ahead)) {
            hero->moveForward();
            continue;
        }
        if (tile::isBlocker(ahead)) return false;
        hero->moveForward();
        if (tile::isHole(ahead)) {
            hero->die();
        } else if (tile::isGoal(ahead)) {
            hero->win();
        }
        return true;
    }
    return false;
}

bool cWorld::moveHeroBack() { return true; }

void cWorld::placeHero(const cHero& hero) { mHero = std::make_unique<cHero>(hero); }
