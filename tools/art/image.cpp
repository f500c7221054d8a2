#include "image.h"

#include <png.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

namespace art {

namespace {

// libpng reports errors by longjmp, so the encoding works only on what it is handed.
void encode(std::FILE* file, const std::string& path, const Image& image, int colorType,
            const std::vector<png_color>& colours, const std::map<std::uint32_t, png_byte>& indices) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    png_write_info(png, info);
    const std::size_t channels = colorType == PNG_COLOR_TYPE_PALETTE ? 1 : colorType == PNG_COLOR_TYPE_RGB ? 3 : 4;
    std::vector<png_byte> row(std::size_t(image.width) * channels);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.at(x, y);
            if (channels == 1) {
                row[std::size_t(x)] = indices.at(p);
                continue;
            }
            for (std::size_t c = 0; c < channels; ++c) row[std::size_t(x) * channels + c] = png_byte(p >> (24 - 8 * c));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

} // namespace

// The game blits every picture as SDL_image decodes it, a whole screen's worth
// every pass, and the decoded form follows the file's: an RGBA file becomes a
// 32-bit picture blended pixel by pixel, an RGB file a plain 24-bit copy, a
// palette file 8-bit pixels through a colour table, many times cheaper again.
// So each picture is written in the leanest of these that keeps every pixel
// exactly: a palette when it is opaque with at most 256 colours, RGB when it
// is opaque, RGBA only when something shows through.
void writePng(const std::string& path, const Image& image) {
    bool opaque = true;
    std::map<std::uint32_t, png_byte> indices; // in colour order
    for (std::uint32_t p : image.pixels) {
        opaque = opaque && (p & 0xFF) == 0xFF;
        if (indices.size() <= 256) indices.emplace(p, 0);
    }
    const bool indexed = opaque && indices.size() <= 256;
    std::vector<png_color> colours;
    if (indexed) {
        for (auto& [rgba, index] : indices) {
            index = static_cast<png_byte>(colours.size());
            colours.push_back({png_byte(rgba >> 24), png_byte(rgba >> 16), png_byte(rgba >> 8)});
        }
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) throw std::runtime_error("cannot write " + path);
    encode(file.get(), path, image,
           indexed  ? PNG_COLOR_TYPE_PALETTE
           : opaque ? PNG_COLOR_TYPE_RGB
                    : PNG_COLOR_TYPE_RGBA,
           colours, indices);
}

} // namespace art
