#include "level.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace level {
namespace {

constexpr int kBoardWidth = tile::kColumns;

const char* const kDirectionName[] = {"", "north", "east", "", "south", "", "", "", "west"};

// The kind letter of a cell, and the bits that letter stands for.
struct cKind {
    char mSymbol;
    unsigned char mBits;
};
constexpr cKind kKinds[] = {
    {'.', 0x00}, {'#', 0x20}, {'~', 0x40}, {'G', 0x60},
    {'v', 0x10}, {'^', 0x30}, {'<', 0x50}, {'>', 0x70},
};

bool kindBits(char symbol, unsigned char& bits) {
    for (const cKind& k : kKinds) {
        if (k.mSymbol == symbol) {
            bits = k.mBits;
            return true;
        }
    }
    return false;
}

char kindSymbol(unsigned char byte) {
    if (byte == 0) return ' ';
    const unsigned char bits = byte & (tile::kHeroMark | tile::kKindMask);
    for (const cKind& k : kKinds) {
        if (k.mBits == bits) return k.mSymbol;
    }
    return '?';
}

int pictureValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char pictureSymbol(unsigned char byte) {
    if (byte == 0) return ' ';
    return "0123456789abcdef"[byte & tile::kPictureMask];
}

std::string lineError(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

const char* boardName(int field) { return field % 2 == 0 ? "Lumora" : "Vexmoor"; }

// One cell of a level text: its kind letter and its picture letter (blank
// for "the usual picture for this kind").
std::string cellByte(char kind, char picture, int x, int y, bool rightSide, unsigned char& out) {
    const std::string where = " (" + std::string(rightSide ? "Vexmoor" : "Lumora") + " column " +
                              std::to_string(x) + ")";
    if (kind == ' ') {
        if (picture != ' ' && picture != '-') return "a hole has no picture" + where;
        out = 0;
        return {};
    }
    unsigned char bits = 0;
    if (!kindBits(kind, bits)) return std::string("'") + kind + "' is no cell kind" + where;
    int pic = 0;
    if (picture == ' ' || picture == '-') {
        pic = static_cast<int>(defaultPicture(kind, x, y, rightSide));
    } else {
        pic = pictureValue(picture);
        if (pic < 0) return std::string("'") + picture + "' is no picture number" + where;
        // A floor byte of 0 would be a hole.
        if (pic == 0 && bits == 0) return "a floor needs a picture from 1 to f" + where;
    }
    out = static_cast<unsigned char>(bits | pic);
    return {};
}

std::string gridRow(const Board& board, int y, char (*symbol)(unsigned char)) {
    std::string row;
    for (int x = 0; x < kBoardWidth; ++x) row += symbol(board[tile::cellIndex(x, y)]);
    return row;
}

} // namespace

unsigned defaultPicture(char kind, int x, int y, bool rightSide) {
    switch (kind) {
    case '#': return 7;
    case '~': return 10;
    case 'G': return 12;
    case 'v': case '^': case '<': case '>': return 14;
    default: break;
    }
    // Plain floor most of the time, a variant now and then, so that a board
    // left to its defaults does not look tiled.
    static constexpr unsigned kScatter[] = {1, 2, 1, 1, 3, 1, 4, 1, 1, 5, 1, 6, 1};
    const unsigned i = static_cast<unsigned>(x * 5 + y * 3 + (rightSide ? 7 : 0)) % 13u;
    return kScatter[i];
}

std::string parseLevelText(const std::string& text, cLevel& level) {
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    int row = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;

        std::vector<std::size_t> bars;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '|') bars.push_back(i);
        }
        const std::size_t fields = bars.size() / 2;
        if (bars.size() % 2 != 0 || (fields != 2 && fields != 4)) {
            return lineError(lineNumber,
                             "a board row is 2 or 4 grids, each 8 cells between two bars '|'");
        }
        std::string grid[4] = {"", "", std::string(8, ' '), std::string(8, ' ')};
        for (std::size_t f = 0; f < fields; ++f) {
            grid[f] = line.substr(bars[2 * f] + 1, bars[2 * f + 1] - bars[2 * f] - 1);
            if (grid[f].size() != kBoardWidth) {
                return lineError(lineNumber, std::string(f < 2 ? "the " : "the picture grid of ") +
                                                 boardName(static_cast<int>(f)) + " has " +
                                                 std::to_string(grid[f].size()) +
                                                 " cells in this row, not 8");
            }
        }
        if (row >= tile::kRows) return lineError(lineNumber, "more than 13 board rows");
        for (int side = 0; side < 2; ++side) {
            Board& board = side == 0 ? level.mLeft : level.mRight;
            for (int x = 0; x < kBoardWidth; ++x) {
                const std::string problem = cellByte(grid[side][x], grid[side + 2][x], x, row,
                                                     side == 1, board[tile::cellIndex(x, row)]);
                if (!problem.empty()) return lineError(lineNumber, problem);
            }
        }
        ++row;
    }
    if (row != tile::kRows) {
        return "a level has 13 board rows, this one " + std::to_string(row);
    }
    return {};
}

std::string formatLevelText(const cLevel& level) {
    std::string out = "#     Lumora      Vexmoor         Lumora      Vexmoor\n"
                      "#     kinds       kinds           pictures    pictures\n";
    char buf[128];
    for (int y = 0; y < tile::kRows; ++y) {
        std::snprintf(buf, sizeof buf, "%2d  |%s|  |%s|      |%s|  |%s|\n", y,
                      gridRow(level.mLeft, y, kindSymbol).c_str(),
                      gridRow(level.mRight, y, kindSymbol).c_str(),
                      gridRow(level.mLeft, y, pictureSymbol).c_str(),
                      gridRow(level.mRight, y, pictureSymbol).c_str());
        out += buf;
    }
    return out;
}

std::string formatBoard(const Board& board) {
    std::string out = "#     kinds       pictures\n";
    char buf[64];
    for (int y = 0; y < tile::kRows; ++y) {
        std::snprintf(buf, sizeof buf, "%2d  |%s|  |%s|\n", y, gridRow(board, y, kindSymbol).c_str(),
                      gridRow(board, y, pictureSymbol).c_str());
        out += buf;
    }
    return out;
}

std::vector<std::string> mapProblems(const unsigned char* bytes, std::size_t size) {
    std::vector<std::string> problems;
    if (size != tile::kCells) {
        problems.push_back("holds " + std::to_string(size) + " bytes; a map is exactly 104");
    }
    int heroes = 0;
    int goals = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(size, tile::kCells); ++i) {
        if (tile::isHeroStart(bytes[i])) ++heroes;
        if (tile::isGoal(bytes[i])) ++goals;
    }
    if (heroes == 0) problems.push_back("no hero mark: the hero has nowhere to start");
    if (heroes > 1) {
        problems.push_back(std::to_string(heroes) + " hero marks; a map holds exactly one");
    }
    if (goals == 0) problems.push_back("no goal: the hero can never win");
    return problems;
}

std::string mapSummary(const unsigned char* bytes, std::size_t size) {
    const char* const names[] = {"floor", "blocker", "slide", "goal"};
    std::map<int, std::set<unsigned>> byKind;
    int counts[4] = {};
    int holes = 0;
    std::string heroes;
    for (std::size_t i = 0; i < tile::kCells; ++i) {
        const unsigned char b = i < size ? bytes[i] : 0;
        if (b == 0) {
            ++holes;
        } else if (tile::isHeroStart(b)) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "  hero     column %zu, row %zu, facing %s (byte %02x)\n",
                          i % tile::kColumns, i / tile::kColumns,
                          kDirectionName[tile::startDirection(b)], b);
            heroes += buf;
        } else {
            const int kind = (b & tile::kKindMask) >> 5;
            ++counts[kind];
            byKind[kind].insert(b);
        }
    }
    std::string out = heroes;
    for (int k = 0; k < 4; ++k) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "  %-8s %3d", names[k], counts[k]);
        out += buf;
        if (!byKind[k].empty()) {
            out += "  bytes";
            for (unsigned b : byKind[k]) {
                std::snprintf(buf, sizeof buf, " %02x", b);
                out += buf;
            }
        }
        out += '\n';
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "  %-8s %3d\n", "hole", holes);
    return out + buf;
}

} // namespace level
