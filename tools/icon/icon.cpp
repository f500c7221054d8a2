// Draws the game's desktop icon at every size the hicolor theme wants: a
// rounded tile split into the two realms, Lumora's ice on the left and
// Vexmoor's oil on the right, each with its hero. The picture is described
// by shapes on a unit square and sampled 4 x 4 times a pixel, so every size
// is drawn afresh rather than scaled from another.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "image.h"

namespace {

struct Colour {
    double r, g, b, a;
};

Colour over(Colour top, Colour below) {
    const double a = top.a + below.a * (1 - top.a);
    if (a <= 0) return {0, 0, 0, 0};
    auto mix = [&](double t, double b) { return (t * top.a + b * below.a * (1 - top.a)) / a; };
    return {mix(top.r, below.r), mix(top.g, below.g), mix(top.b, below.b), a};
}

double roundedBoxDistance(double u, double v, double cx, double cy, double halfW, double halfH, double r) {
    const double dx = std::max(std::abs(u - cx) - halfW + r, 0.0);
    const double dy = std::max(std::abs(v - cy) - halfH + r, 0.0);
    return std::hypot(dx, dy) - r;
}

bool inCircle(double u, double v, double cx, double cy, double r) { return std::hypot(u - cx, v - cy) <= r; }

// A hero seen from the front: round head on a rounded body, eyes, and the
// mark of its realm's heroes (horns for the left, a halo for the right).
Colour hero(double u, double v, double cx, bool angel) {
    const Colour body = angel ? Colour{0.96, 0.95, 0.88, 1} : Colour{0.86, 0.18, 0.16, 1};
    const Colour dark = {0.08, 0.06, 0.12, 1};
    const Colour gold = {1.0, 0.82, 0.25, 1};
    const double headY = 0.46;
    if (angel) {
        const double ring = std::hypot((u - cx) / 0.12, (v - 0.285) / 0.035);
        if (ring > 0.72 && ring < 1.0) return gold;
    } else {
        for (double side : {-1.0, 1.0}) {
            const double hx = cx + side * 0.075;
            const double t = (0.40 - v) / 0.10; // 0 at the head, 1 at the tip
            if (t >= 0 && t <= 1 && std::abs(u - (hx + side * 0.02 * t)) <= 0.028 * (1 - t)) return dark;
        }
    }
    if (inCircle(u, v, cx - 0.035, headY, 0.018) || inCircle(u, v, cx + 0.035, headY, 0.018)) return dark;
    if (inCircle(u, v, cx, headY, 0.095)) return body;
    if (roundedBoxDistance(u, v, cx, 0.66, 0.1, 0.12, 0.06) <= 0) return body;
    return {0, 0, 0, 0};
}

Colour iceAt(double u, double v) {
    const double t = v;
    Colour c = {0.62 + 0.25 * (1 - t), 0.84 + 0.1 * (1 - t), 0.98, 1};
    // Bright streaks across the ice.
    const double streak = std::fmod(u * 1.2 + v * 0.8, 0.28);
    if (streak < 0.025) c = over({1, 1, 1, 0.6}, c);
    return c;
}

Colour oilAt(double u, double v) {
    Colour c = {0.16 + 0.08 * v, 0.09, 0.22 + 0.1 * (1 - v), 1};
    // A rainbow sheen floating on the oil.
    const double band = std::sin((u * 3.0 - v * 2.0) * 6.2831);
    if (band > 0.85) {
        const double hue = (u + v) * 3.0;
        const Colour sheen = {0.5 + 0.5 * std::sin(hue), 0.5 + 0.5 * std::sin(hue + 2.1),
                              0.5 + 0.5 * std::sin(hue + 4.2), 0.35};
        c = over(sheen, c);
    }
    return c;
}

Colour iconAt(double u, double v) {
    const double edge = roundedBoxDistance(u, v, 0.5, 0.5, 0.47, 0.47, 0.12);
    if (edge > 0) return {0, 0, 0, 0};
    if (edge > -0.03) return {0.06, 0.05, 0.1, 1}; // the frame
    if (std::abs(u - 0.5) < 0.018) return {0.06, 0.05, 0.1, 1}; // the gap between the realms
    const bool right = u > 0.5;
    const Colour ground = right ? oilAt(u, v) : iceAt(u, v);
    return over(hero(u, v, right ? 0.75 : 0.25, right), ground);
}

art::Image drawIcon(int size) {
    constexpr int kSamples = 4;
    art::Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Colour c = iconAt((x + (sx + 0.5) / kSamples) / size, (y + (sy + 0.5) / kSamples) / size);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a <= 0) continue;
            auto channel = [&](double premultiplied) {
                return static_cast<unsigned>(std::lround(std::clamp(premultiplied / a, 0.0, 1.0) * 255));
            };
            const auto alpha = static_cast<unsigned>(std::lround(a / (kSamples * kSamples) * 255));
            image.at(x, y) = art::rgba(channel(r), channel(g), channel(b), alpha);
        }
    }
    return image;
}

} // namespace

// lv-icon OUTDIR NAME: writes OUTDIR/hicolor/SxS/apps/NAME.png for each size.
int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lv-icon OUTDIR NAME\n");
        return 2;
    }
    try {
        for (int size : {32, 48, 64, 128, 256}) {
            const std::string s = std::to_string(size);
            const std::filesystem::path dir = std::filesystem::path(argv[1]) / "hicolor" / (s + "x" + s) / "apps";
            std::filesystem::create_directories(dir);
            art::writePng((dir / (std::string(argv[2]) + ".png")).string(), drawIcon(size));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lv-icon: %s\n", e.what());
        return 1;
    }
    return 0;
}
