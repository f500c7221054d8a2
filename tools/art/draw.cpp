#include "draw.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

unsigned channel(double v) { return static_cast<unsigned>(std::clamp(std::lround(v), 0L, 255L)); }

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

} // namespace

std::uint32_t mix(std::uint32_t a, std::uint32_t b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto lerp = [t](unsigned p, unsigned q) { return channel(p + (double(q) - double(p)) * t); };
    return rgba(lerp(red(a), red(b)), lerp(green(a), green(b)), lerp(blue(a), blue(b)), lerp(alpha(a), alpha(b)));
}

std::uint32_t shade(std::uint32_t c, double amount) {
    const std::uint32_t toward = amount >= 0 ? rgba(255, 255, 255, alpha(c)) : rgba(0, 0, 0, alpha(c));
    return mix(c, toward, std::fabs(amount));
}

void blend(Image& image, int x, int y, std::uint32_t c, double coverage) {
    if (!image.contains(x, y) || coverage <= 0.0) return;
    const double sa = alpha(c) / 255.0 * std::min(coverage, 1.0);
    if (sa <= 0.0) return;
    std::uint32_t& d = image.at(x, y);
    const double da = alpha(d) / 255.0;
    const double keep = da * (1.0 - sa);
    const double oa = sa + keep;
    auto over = [&](unsigned s, unsigned t) { return channel((s * sa + t * keep) / oa); };
    d = rgba(over(red(c), red(d)), over(green(c), green(d)), over(blue(c), blue(d)), channel(oa * 255.0));
}

void fillRect(Image& image, int x, int y, int w, int h, std::uint32_t c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) blend(image, i, j, c);
}

void fillGradient(Image& image, int x, int y, int w, int h, std::uint32_t top, std::uint32_t bottom) {
    for (int j = 0; j < h; ++j) {
        const std::uint32_t c = mix(top, bottom, h > 1 ? double(j) / (h - 1) : 0.0);
        for (int i = 0; i < w; ++i) blend(image, x + i, y + j, c);
    }
}

void drawImage(Image& dst, const Image& src, int x, int y) {
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i) blend(dst, x + i, y + j, src.at(i, j));
}

Image scaled(const Image& src, int factor) {
    Image out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.at(x, y) = src.at(x / factor, y / factor);
    return out;
}

void fillShape(Image& image, int x0, int y0, int x1, int y1, const Inside& inside, const ColourAt& colourAt) {
    constexpr int kSamples = 4;
    for (int y = std::max(y0, 0); y < std::min(y1, image.height); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, image.width); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
            if (hits > 0) blend(image, x, y, colourAt(x, y), double(hits) / (kSamples * kSamples));
        }
    }
}

void fillShape(Image& image, int x0, int y0, int x1, int y1, const Inside& inside, std::uint32_t c) {
    fillShape(image, x0, y0, x1, y1, inside, [c](int, int) { return c; });
}

Inside roundedRect(double x, double y, double w, double h, double radius) {
    return [=](double px, double py) {
        if (px < x || py < y || px >= x + w || py >= y + h) return false;
        // Distance into the corner square decides; elsewhere the box does.
        const double cx = std::clamp(px, x + radius, x + w - radius);
        const double cy = std::clamp(py, y + radius, y + h - radius);
        const double dx = px - cx, dy = py - cy;
        return dx * dx + dy * dy <= radius * radius;
    };
}

Inside disc(double cx, double cy, double radius) {
    return [=](double px, double py) {
        const double dx = px - cx, dy = py - cy;
        return dx * dx + dy * dy <= radius * radius;
    };
}

Inside ring(double cx, double cy, double inner, double outer) {
    return without(disc(cx, cy, outer), disc(cx, cy, inner));
}

Inside polygon(std::vector<double> xy) {
    return [xy = std::move(xy)](double px, double py) {
        bool in = false;
        const std::size_t n = xy.size() / 2;
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
}

Inside without(Inside a, Inside b) {
    return [a = std::move(a), b = std::move(b)](double px, double py) { return a(px, py) && !b(px, py); };
}

Inside both(Inside a, Inside b) {
    return [a = std::move(a), b = std::move(b)](double px, double py) { return a(px, py) && b(px, py); };
}

void panel(Image& image, int x, int y, int w, int h, double radius, std::uint32_t fill, std::uint32_t border,
           double borderWidth) {
    const Inside outer = roundedRect(x, y, w, h, radius);
    const Inside inner = roundedRect(x + borderWidth, y + borderWidth, w - 2 * borderWidth, h - 2 * borderWidth,
                                     std::max(radius - borderWidth, 0.0));
    fillShape(image, x, y, x + w, y + h, inner, fill);
    if (borderWidth > 0) fillShape(image, x, y, x + w, y + h, without(outer, inner), border);
}

double hashNoise(int x, int y, unsigned seed) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (h >> 8) / double(1u << 24);
}

double valueNoise(double x, double y, double cell, unsigned seed) {
    const double gx = x / cell, gy = y / cell;
    const int ix = static_cast<int>(std::floor(gx)), iy = static_cast<int>(std::floor(gy));
    const double tx = smooth(gx - ix), ty = smooth(gy - iy);
    const double top = hashNoise(ix, iy, seed) + (hashNoise(ix + 1, iy, seed) - hashNoise(ix, iy, seed)) * tx;
    const double bottom =
        hashNoise(ix, iy + 1, seed) + (hashNoise(ix + 1, iy + 1, seed) - hashNoise(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

double cloudNoise(double x, double y, double cell, int octaves, unsigned seed) {
    double sum = 0.0, weight = 1.0, total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += valueNoise(x, y, cell, seed + 101u * o) * weight;
        total += weight;
        weight *= 0.5;
        cell *= 0.5;
    }
    return sum / total;
}

} // namespace art
