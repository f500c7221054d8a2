#include "ops.h"

#include <algorithm>
#include <cmath>

#include "draw.h"

namespace art {

namespace {

struct Rgba {
    double r, g, b, a; // each 0..1
};

Rgba split(std::uint32_t p) {
    return {((p >> 24) & 255) / 255.0, ((p >> 16) & 255) / 255.0, ((p >> 8) & 255) / 255.0, (p & 255) / 255.0};
}

unsigned channel(double v) {
    return static_cast<unsigned>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

std::uint32_t join(const Rgba& c) {
    return rgba(channel(c.r), channel(c.g), channel(c.b), channel(c.a));
}

} // namespace

Image mirrored(const Image& image) {
    Image out(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) out.at(image.width - 1 - x, y) = image.at(x, y);
    }
    return out;
}

Image shifted(const Image& image, int dx, int dy) {
    Image out(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (out.contains(x + dx, y + dy)) out.at(x + dx, y + dy) = image.at(x, y);
        }
    }
    return out;
}

Image tinted(const Image& image, std::uint32_t rgb, double amount) {
    Image out = image;
    for (std::uint32_t& p : out.pixels) p = mix(p, (rgb << 8) | alpha(p), amount);
    return out;
}

Image faded(const Image& image, double factor) {
    Image out = image;
    for (std::uint32_t& p : out.pixels) p = withAlpha(p, static_cast<unsigned>(std::lround(alpha(p) * factor)));
    return out;
}

Image scaledAbout(const Image& image, double factor, double cx, double cy) {
    Image out(image.width, image.height);
    if (factor <= 0.0) return out;
    // Each target pixel averages a 4 x 4 grid of samples of the source,
    // weighting colours by alpha so that transparent pixels add no colour.
    constexpr int kSamples = 4;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const double tx = x + (i + 0.5) / kSamples;
                    const double ty = y + (j + 0.5) / kSamples;
                    const int sx = static_cast<int>(std::floor(cx + (tx - cx) / factor));
                    const int sy = static_cast<int>(std::floor(cy + (ty - cy) / factor));
                    if (!image.contains(sx, sy)) continue;
                    const Rgba c = split(image.at(sx, sy));
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a > 0) out.at(x, y) = join({r / a, g / a, b / a, a / (kSamples * kSamples)});
        }
    }
    return out;
}

Image outlined(const Image& image, std::uint32_t color) {
    Image out = image;
    // Faint pixels (shadows, glows) are not part of the shape; the rim goes
    // behind whatever they hold.
    auto solid = [&](int x, int y) { return image.contains(x, y) && (image.at(x, y) & 255) >= 128; };
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (solid(x, y)) continue;
            if (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1)) {
                out.at(x, y) = color;
                blend(out, x, y, image.at(x, y));
            }
        }
    }
    return out;
}

} // namespace art
