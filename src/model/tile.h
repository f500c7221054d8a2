#pragma once

#include <cstdint>

// One cell of a board is one byte of its level map file:
//   bits 0-3  picture number (0 = no picture of its own)
//   bit  4    hero mark: the hero starts here; the cell is a floor
//   bits 5-6  kind (blocker 0x20, slide 0x40, goal 0x60, floor 0x00),
//             or the hero's start direction when the hero mark is set
//   bit  7    no meaning, it only keeps the byte from being a hole
// The whole byte 0 is a hole. A world keeps each byte sign-widened to 32 bits.
namespace tile {

constexpr int kColumns = 8;
constexpr int kRows = 13;
constexpr int kCells = kColumns * kRows;

constexpr std::uint32_t kPictureMask = 0x0F;
constexpr std::uint32_t kHeroMark = 0x10;
constexpr std::uint32_t kKindMask = 0x60;
constexpr std::uint32_t kBlocker = 0x20;
constexpr std::uint32_t kSlide = 0x40;
constexpr std::uint32_t kGoal = 0x60;

// Direction codes: one bit each, clockwise from north.
constexpr signed char kNorth = 1;
constexpr signed char kEast = 2;
constexpr signed char kSouth = 4;
constexpr signed char kWest = 8;

constexpr int cellIndex(int x, int y) { return x + kColumns * y; }

constexpr bool isHole(std::uint32_t t) { return t == 0; }
constexpr bool isHeroStart(std::uint32_t t) { return (t & kHeroMark) != 0; }
constexpr bool isBlocker(std::uint32_t t) { return (t & (kHeroMark | kKindMask)) == kBlocker; }
constexpr bool isSlide(std::uint32_t t) { return (t & (kHeroMark | kKindMask)) == kSlide; }
constexpr bool isGoal(std::uint32_t t) { return (t & (kHeroMark | kKindMask)) == kGoal; }
constexpr unsigned picture(std::uint32_t t) { return t & kPictureMask; }

// The direction a hero starting on a hero-marked cell faces.
constexpr signed char startDirection(std::uint32_t t) {
    switch (t & kKindMask) {
    case 0x20: return kNorth;
    case 0x40: return kWest;
    case 0x60: return kEast;
    default: return kSouth;
    }
}

// How a map byte is held on the board: taken as signed 8 bits, widened with its sign.
constexpr std::uint32_t widen(unsigned char byte) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(byte)));
}

} // namespace tile
