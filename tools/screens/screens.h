#pragma once

#include <string>
#include <vector>

#include "font.h"
#include "image.h"
#include "pixelArt.h"

// The whole-screen pictures (splash, instructions, the two backgrounds) and
// the menu's pictures, painted from the pixel font and icons in assets/screens.
namespace screens {

struct Sources {
    art::cFont font;
    art::cArtBook icons; // parts named icon-goal, icon-hole, ...
};
// Reads font.txt and icons.art from the directory.
Sources loadSources(const std::string& dir);

struct Picture {
    std::string path; // below data/, e.g. "menu/logo.png"
    int x = 0;        // where the game draws it
    int y = 0;
    art::Image image;
};
// Every picture, in the order the menu draws its five after the backgrounds.
std::vector<Picture> paintAll(const Sources& sources);

// A mock menu screen for a person to look at: the menu background, two boards
// of plain squares with a few holes, and the menu pictures at their places.
art::Image mockMenu(const std::vector<Picture>& pictures);

// Every glyph of the font at three times its size, for a person editing it.
art::Image fontSpecimen(const art::cFont& font);

} // namespace screens
