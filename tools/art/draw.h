#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "image.h"

// Painting on an art::Image: alpha blending, gradients, smooth-edged shapes
// and a repeatable noise. Integer hashing and plain IEEE arithmetic only (no
// sin or pow, whose last bits differ between libraries), so that a picture
// comes out the same on every machine.
namespace art {

constexpr unsigned red(std::uint32_t c) { return c >> 24; }
constexpr unsigned green(std::uint32_t c) { return (c >> 16) & 0xFF; }
constexpr unsigned blue(std::uint32_t c) { return (c >> 8) & 0xFF; }
constexpr unsigned alpha(std::uint32_t c) { return c & 0xFF; }

// The same colour with another alpha (0..255).
constexpr std::uint32_t withAlpha(std::uint32_t c, unsigned a) { return (c & 0xFFFFFF00u) | (a & 0xFF); }

// Every channel, alpha too, from a (t = 0) to b (t = 1); t is clamped.
std::uint32_t mix(std::uint32_t a, std::uint32_t b, double t);

// A colour made lighter (amount > 0, towards white) or darker (< 0, towards black).
std::uint32_t shade(std::uint32_t c, double amount);

// Lays colour c over the pixel (source over), its alpha scaled by coverage
// (0..1). Works on transparent pictures too. Pixels outside are ignored.
void blend(Image& image, int x, int y, std::uint32_t c, double coverage = 1.0);

void fillRect(Image& image, int x, int y, int w, int h, std::uint32_t c);
// A rectangle shaded from top to bottom, blended over what is there.
void fillGradient(Image& image, int x, int y, int w, int h, std::uint32_t top, std::uint32_t bottom);

// Lays src over dst with its top-left corner at (x, y).
void drawImage(Image& dst, const Image& src, int x, int y);
// Every pixel becomes a factor × factor block.
Image scaled(const Image& src, int factor);

// A shape given as "is this point inside?", painted with smooth edges: every
// pixel of the box [x0, x1) × [y0, y1) is sampled 4 × 4 times and blends its
// colour (colourAt(x, y)) by the share of samples inside.
using Inside = std::function<bool(double x, double y)>;
using ColourAt = std::function<std::uint32_t(int x, int y)>;
void fillShape(Image& image, int x0, int y0, int x1, int y1, const Inside& inside, const ColourAt& colourAt);
void fillShape(Image& image, int x0, int y0, int x1, int y1, const Inside& inside, std::uint32_t c);

// Points inside common shapes, for fillShape.
Inside roundedRect(double x, double y, double w, double h, double radius);
Inside disc(double cx, double cy, double radius);
Inside ring(double cx, double cy, double inner, double outer);
Inside polygon(std::vector<double> xy); // x0, y0, x1, y1, ... (even-odd rule)
// Inside a but not inside b; inside both.
Inside without(Inside a, Inside b);
Inside both(Inside a, Inside b);

// A translucent panel with rounded corners and a border of the given width.
void panel(Image& image, int x, int y, int w, int h, double radius, std::uint32_t fill, std::uint32_t border,
           double borderWidth);

// A repeatable pseudo-random number for a grid point: 0 <= value < 1.
double hashNoise(int x, int y, unsigned seed);
// Smooth noise, 0..1, that changes over about `cell` pixels.
double valueNoise(double x, double y, double cell, unsigned seed);
// Several octaves of valueNoise, the finest `octaves - 1` halvings of cell below it.
double cloudNoise(double x, double y, double cell, int octaves, unsigned seed);

} // namespace art
