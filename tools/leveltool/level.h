#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "tile.h"

// Levels as the designer writes them and as the game reads them.
//
// A level is two boards: Lumora on the left, Vexmoor on the right. On disk the
// game reads each board as a map file of 104 tile bytes; in the repository a
// level is a text file that shows both boards side by side (see
// assets/levels/README.md for the format).
namespace level {

using Board = std::array<unsigned char, tile::kCells>;

struct cLevel {
    Board mLeft{};
    Board mRight{};
};

// Reads a level text into `level`. Returns an empty string when it parses,
// otherwise what is wrong and on which line.
std::string parseLevelText(const std::string& text, cLevel& level);

// A level text for the two boards, every picture written out.
std::string formatLevelText(const cLevel& level);
// One board alone, in the same row format with a single pair of grids.
std::string formatBoard(const Board& board);

// What is wrong with a map for the game to play it: its size, its hero marks,
// its goals. Empty when it is fit.
std::vector<std::string> mapProblems(const unsigned char* bytes, std::size_t size);

// A few lines that tell what a map holds: the hero, and per kind how many
// cells and which bytes. `bytes` may be short; missing cells count as holes.
std::string mapSummary(const unsigned char* bytes, std::size_t size);

// The picture a cell gets when the level text leaves it open.
unsigned defaultPicture(char kind, int x, int y, bool rightSide);

} // namespace level
