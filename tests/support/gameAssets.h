#pragma once

#include <string>
#include <vector>

// Every file the game asks for, in one list for the tests and benchmarks
// that write stand-in data or check the shipped data.
namespace gameAssets {

struct Picture {
    std::string path;
    int width;  // the size of the shipped picture, which sits right where
    int height; // the game draws it
};

// Screens and menu pictures first, then the cells and overlays, then the heroes.
const std::vector<Picture>& pictures();
const std::vector<std::string>& sounds();

// The five pictures the menu draws over the boards.
bool isMenuPicture(const std::string& path);

} // namespace gameAssets
