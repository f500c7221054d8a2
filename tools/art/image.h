#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// An RGBA picture in memory, 0xRRGGBBAA a pixel, row by row from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}

    std::uint32_t& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

constexpr std::uint32_t rgba(unsigned r, unsigned g, unsigned b, unsigned a = 255) {
    return (r << 24) | (g << 16) | (b << 8) | a;
}

// Writes the picture as an 8-bit RGBA PNG. Throws std::runtime_error on failure.
void writePng(const std::string& path, const Image& image);

} // namespace art
