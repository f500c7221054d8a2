#pragma once

#include "image.h"

// Whole-picture operations for pictures made from other pictures (blending
// one over another is drawImage in draw.h). Colours are straight, not
// premultiplied, RGBA as in art::Image.
namespace art {

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

} // namespace art
