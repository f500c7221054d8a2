#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "image.h"

// Pictures drawn as text: palettes map characters to colours, and a picture
// is a short recipe of grids of those characters and a few operations on the
// whole picture (mirror, move, tint, fade, scale, outline) and on other
// pictures (start from one, stamp one, recolour one with another palette).
// The format is described in assets/pictures/README.md.
namespace art {

// A fault in the text, with the file and line where it was found.
class cArtError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class cArtBook {
public:
    // Adds the palettes and pictures of one text; origin names it in errors.
    void read(const std::string& text, const std::string& origin);
    // Reads every "*.art" file of the directory, in name order.
    void readDirectory(const std::string& directory);

    // The names declared with "picture" (the ones to be written out), sorted.
    std::vector<std::string> pictures() const;
    bool has(const std::string& name) const { return mRecipes.count(name) != 0; }

    Image render(const std::string& name) const;

private:
    struct cPalette {
        std::string base;
        std::map<char, std::uint32_t> colors;
        std::string where;
    };
    struct cStep {
        std::string op;
        std::vector<std::string> args;
        std::vector<std::string> rows;
        std::string where;
    };
    struct cRecipe {
        bool output = false;
        int width = 0;
        int height = 0;
        std::vector<cStep> steps;
        std::string where;
    };
    // Palette renamings applied to a picture and everything it draws from,
    // innermost first.
    using Swaps = std::vector<std::map<std::string, std::string>>;

    std::uint32_t color(const std::string& palette, char c, const std::string& where) const;
    Image render(const std::string& name, const Swaps& swaps, std::vector<std::string>& stack,
                 const std::string& where) const;

    std::map<std::string, cPalette> mPalettes;
    std::map<std::string, cRecipe> mRecipes;
};

} // namespace art
