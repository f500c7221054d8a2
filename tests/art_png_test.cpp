// The picture files that the data tools write: every pixel comes back exactly
// as painted, in the cheapest form for the game to blit (a palette for an
// opaque picture of few colours, RGB for any other opaque one, RGBA only when
// something shows through).
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <memory>

#include "image.h"
#include "testSupport.h"

namespace {

// `colours` distinct opaque colours, and one see-through pixel when asked.
art::Image painted(int colours, bool seeThrough) {
    art::Image image(20, 20);
    for (int i = 0; i < 400; ++i) {
        const int c = i % colours;
        image.pixels[static_cast<std::size_t>(i)] = art::rgba(c & 0xFF, (c >> 8) * 40, 255 - (c & 0xFF));
    }
    if (seeThrough) image.at(3, 4) = art::rgba(10, 20, 30, 128);
    return image;
}

TEST(PictureFiles, DecodeExactlyInTheLeanestForm) {
    struct Case {
        int colours;
        bool seeThrough;
        int bitsPerPixel;
    } cases[] = {
        {1, false, 8}, {256, false, 8}, {257, false, 24}, {400, false, 24}, {2, true, 32},
    };
    testing_support::ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.colours << " colours" << (c.seeThrough ? ", see-through" : ""));
        const art::Image image = painted(c.colours, c.seeThrough);
        art::writePng("picture.png", image);
        std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> s(IMG_Load("picture.png"), SDL_FreeSurface);
        ASSERT_NE(s, nullptr) << IMG_GetError();
        EXPECT_EQ(s->format->BitsPerPixel, c.bitsPerPixel);
        SDL_LockSurface(s.get());
        int differing = 0;
        for (int y = 0; y < s->h; ++y) {
            for (int x = 0; x < s->w; ++x) {
                Uint32 raw = 0;
                std::memcpy(&raw,
                            static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
                            s->format->BytesPerPixel);
                Uint8 r, g, b, a;
                SDL_GetRGBA(raw, s->format, &r, &g, &b, &a);
                differing += art::rgba(r, g, b, a) != image.at(x, y);
            }
        }
        SDL_UnlockSurface(s.get());
        EXPECT_EQ(differing, 0);
    }
}

} // namespace
