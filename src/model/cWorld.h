#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "cHero.h"
#include "tile.h"

// One realm's board of 8 x 13 cells and the hero that stands on it.
class cWorld {
public:
    explicit cWorld(bool rightSide);

    // The cell at (x, y); every position off the board is a hole (0).
    // A hero coordinate of -1 arrives sign-widened and so reads as a hole too.
    std::uint32_t getTile(unsigned int x, unsigned int y) const;

    // Reads a level map file: 104 tile bytes, row by row. A file that cannot
    // be read leaves the board and hero as they were; cells past the end of a
    // short file are holes. The last hero mark read places a new hero; a map
    // without one keeps the current hero as it is.
    void loadMap(std::string path);
    // The same from bytes already in memory (the first `count` of them count).
    void loadBytes(const unsigned char* bytes, std::size_t count);

    cHero* getHero() const { return mHero.get(); }
    bool rightSide() const { return mRightSide; }

    // Prints the board to standard output, one row a line (a debugging aid).
    void dumpMap() const;

    // One forward order: step, slide on, stop, fall or reach the goal.
    // True when the hero entered a cell, false when it was refused or there is no hero.
    bool moveHeroForward();
    // The backward order changes nothing.
    bool moveHeroBack();

    // For tools that explore the puzzle: put a copy of `hero` on this board.
    void placeHero(const cHero& hero);

private:
    std::unique_ptr<cHero> mHero;
    std::uint32_t mTiles[tile::kCells] = {};
    bool mRightSide;
};
