#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A complete, tiny data tree for the game, written into the working directory:
// every picture the game asks for (a small PNG of its own colour), the three
// sounds, and four levels that can be won and lost.
namespace fixture {

// Every picture path the game draws, and every sound it plays.
const std::vector<std::string>& pictures();
const std::vector<std::string>& sounds();

// The colour (0xRRGGBB) of a fixture picture.
std::uint32_t colourOf(const std::string& picture);

// Level map bytes; realm 0 is Lumora (left), 1 is Vexmoor (right).
std::vector<unsigned char> level(int realm, int number);
std::string levelPath(int realm, int number);

void writeAll();

} // namespace fixture
