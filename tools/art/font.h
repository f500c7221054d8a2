#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "image.h"

namespace art {

// How a line of text is painted: its pixels blown up `scale` times, filled
// with a top-to-bottom gradient over the glyph height, ringed by an outline
// `outlineWidth` pixels thick (counted after scaling) and with a drop shadow
// (offset 0, 0 means none) under both.
struct TextStyle {
    int scale = 1;
    std::uint32_t top = 0xFFFFFFFF;
    std::uint32_t bottom = 0xFFFFFFFF;
    std::uint32_t outline = 0;
    int outlineWidth = 0;
    std::uint32_t shadow = 0;
    int shadowX = 0;
    int shadowY = 0;
};

// A proportional pixel font read from text: see assets/screens/font.txt for
// the format. Every glyph has the same number of rows; widths differ.
class cFont {
public:
    // Throws std::runtime_error naming the line of the first fault.
    static cFont parse(std::string_view source);
    static cFont load(const std::string& path);

    int height() const { return mHeight; }
    bool has(char32_t c) const { return mGlyphs.count(c) != 0; }
    // The characters it has glyphs for, as UTF-8, in code order.
    std::string characters() const;
    // Width in pixels of the ink and the gaps between glyphs, outline not counted.
    // Throws std::runtime_error for a character the font lacks.
    int width(std::string_view utf8, int scale = 1) const;
    // Paints the text with the top-left corner of its first glyph cell at (x, y).
    void draw(Image& image, int x, int y, std::string_view utf8, const TextStyle& style) const;

private:
    struct Glyph {
        int width = 0;
        std::vector<std::string> rows;
    };
    const Glyph& glyph(char32_t c) const;

    int mHeight = 0;
    std::map<char32_t, Glyph> mGlyphs;
};

// The characters of a UTF-8 string. Throws std::runtime_error on a broken sequence.
std::u32string decodeUtf8(std::string_view utf8);

} // namespace art
