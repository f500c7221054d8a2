#pragma once

#include "image.h"

// Whole-picture operations shared by the picture generators. Colours are
// straight (not premultiplied) RGBA, as in art::Image.
namespace art {

// Draws src over dst with its top-left corner at (x, y), blending by alpha;
// the parts that fall outside dst are dropped.
void blendOver(Image& dst, const Image& src, int x = 0, int y = 0);

// Left and right swapped.
Image mirrored(const Image& image);

// The content moved by (dx, dy); what moves in from outside is transparent.
Image shifted(const Image& image, int dx, int dy);

// Every colour mixed towards rgb (0xRRGGBB) by amount 0..1; alpha kept.
Image tinted(const Image& image, std::uint32_t rgb, double amount);

// Every alpha multiplied by factor 0..1.
Image faded(const Image& image, double factor);

// The content scaled by factor about the point (cx, cy), which stays put;
// same size as the input. Shrinking averages the covered pixels, so a small
// copy keeps its soft edges instead of losing whole rows.
Image scaledAbout(const Image& image, double factor, double cx, double cy);

// A one-pixel rim of colour rgba (0xRRGGBBAA) around the shape (the pixels at
// least half opaque), in the pixels next to it across or down.
Image outlined(const Image& image, std::uint32_t rgba);

// Every pixel repeated n times across and down, for looking at pictures.
Image magnified(const Image& image, int n);

} // namespace art
