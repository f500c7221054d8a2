// The splash, instructions, backgrounds and menu pictures as the game finds
// them in the built data: decodable, the size that fits where the game draws
// them, see-through where they cover a board, and painted from the current
// font and icons.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "draw.h"
#include "font.h"
#include "screens.h"

namespace {

const std::string kData = LV_DATA_DIR;
const std::string kSources = LV_SCREENS_SOURCE_DIR;

struct Placed {
    const char* path;
    int x, y, w, h;
};
// Every picture with where the game draws it and the size that fits there:
// the menu's five lie over the boards, centred on the screen's middle or
// mirrored about it.
const Placed kPictures[] = {
    {"menu/tovrin.png", 0, 0, 640, 480},        {"menu/instruct.png", 0, 0, 640, 480},
    {"tiles/back.png", 0, 0, 640, 480},         {"menu/background.png", 0, 0, 640, 480},
    {"menu/btnLeft.png", 32, 32, 64, 64},       {"menu/logo.png", 96, 32, 448, 64},
    {"menu/selectLevel.png", 128, 128, 384, 48}, {"menu/btnRight.png", 544, 32, 64, 64},
    {"menu/btnStart.png", 159, 384, 322, 48},
};

bool overBoard(int x, int y) { return y >= 32 && y < 448 && ((x >= 32 && x < 288) || (x >= 352 && x < 608)); }

// A picture decoded by SDL_image, as the game decodes it, in 0xRRGGBBAA.
art::Image decode(const std::string& path) {
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(IMG_Load(path.c_str()), SDL_FreeSurface);
    if (!surface) throw std::runtime_error("IMG_Load " + path + ": " + SDL_GetError());
    art::Image image(surface->w, surface->h);
    SDL_LockSurface(surface.get());
    const int bpp = surface->format->BytesPerPixel;
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            Uint32 raw = 0;
            std::memcpy(&raw, static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp, bpp);
            Uint8 r, g, b, a;
            SDL_GetRGBA(raw, surface->format, &r, &g, &b, &a);
            image.at(x, y) = art::rgba(r, g, b, a);
        }
    SDL_UnlockSurface(surface.get());
    return image;
}

double luma(std::uint32_t c) { return 0.3 * art::red(c) + 0.59 * art::green(c) + 0.11 * art::blue(c); }

TEST(ScreenPictures, BuiltPicturesFitTheirPlacesAndMatchTheirSources) {
    const std::vector<screens::Picture> painted = screens::paintAll(screens::loadSources(kSources));
    ASSERT_EQ(painted.size(), std::size(kPictures));
    for (std::size_t i = 0; i < painted.size(); ++i) {
        const Placed& want = kPictures[i];
        SCOPED_TRACE(want.path);
        EXPECT_EQ(painted[i].path, want.path);
        EXPECT_EQ(painted[i].x, want.x);
        EXPECT_EQ(painted[i].y, want.y);
        const art::Image built = decode(kData + "/" + want.path);
        ASSERT_EQ(built.width, want.w);
        ASSERT_EQ(built.height, want.h);
        // The built file is what the sources paint today, pixel for pixel.
        ASSERT_EQ(painted[i].image.width, want.w);
        ASSERT_EQ(painted[i].image.height, want.h);
        int differing = 0;
        for (std::size_t p = 0; p < built.pixels.size(); ++p) differing += built.pixels[p] != painted[i].image.pixels[p];
        EXPECT_EQ(differing, 0) << "pixels differ from a fresh painting: rebuild the screens target";
    }
}

// The menu shows the selected level's boards under its five pictures: they
// must let the cells show, never hide a stretch of board behind a solid block.
TEST(ScreenPictures, MenuPicturesLetTheBoardsShowThrough) {
    for (const Placed& p : kPictures) {
        if (std::string(p.path).rfind("menu/", 0) != 0 || p.w == 640) continue;
        SCOPED_TRACE(p.path);
        const art::Image image = decode(kData + "/" + p.path);
        int over = 0, clear = 0, solid = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                if (!overBoard(p.x + x, p.y + y)) continue;
                ++over;
                const unsigned a = art::alpha(image.at(x, y));
                clear += a == 0;
                solid += a == 255;
            }
        ASSERT_GT(over, 0);
        EXPECT_GE(clear * 10, over) << "at least a tenth of it is fully clear";
        EXPECT_LE(solid * 3, over) << "at most a third of it is solid";
    }
}

// Holes draw nothing, so the board areas of both backgrounds are a dark
// chasm, well darker than the stone frame around them.
TEST(ScreenPictures, BackgroundsAreDarkUnderTheBoards) {
    for (const char* path : {"tiles/back.png", "menu/background.png"}) {
        SCOPED_TRACE(path);
        const art::Image image = decode(kData + "/" + path);
        double board = 0, frame = 0;
        int boardCount = 0, frameCount = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                EXPECT_EQ(art::alpha(image.at(x, y)), 255u);
                (overBoard(x, y) ? board : frame) += luma(image.at(x, y));
                ++(overBoard(x, y) ? boardCount : frameCount);
            }
        board /= boardCount;
        frame /= frameCount;
        EXPECT_LT(board, 24.0);
        EXPECT_LT(board * 2, frame);
    }
}

TEST(PixelFont, CoversTheLettersDigitsAndArrowsTheScreensUse) {
    const art::cFont font = art::cFont::load(kSources + "/font.txt");
    const std::u32string wanted = art::decodeUtf8(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:;!?'-()/\u00b7\u2190\u2191\u2192");
    for (char32_t c : wanted) EXPECT_TRUE(font.has(c)) << "U+" << std::hex << unsigned(c);
}

TEST(PixelFont, DrawsScaledInkInsideItsOutline) {
    const art::cFont font = art::cFont::parse("[x]\n#.\n.#\n");
    art::Image image(8, 8);
    art::TextStyle style;
    style.scale = 2;
    style.top = style.bottom = art::rgba(255, 255, 255);
    style.outline = art::rgba(255, 0, 0);
    style.outlineWidth = 1;
    font.draw(image, 1, 1, "x", style);
    const std::uint32_t ink = art::rgba(255, 255, 255), ring = art::rgba(255, 0, 0);
    struct Expect {
        int x, y;
        std::uint32_t c;
    };
    const Expect expected[] = {
        {1, 1, ink},  {2, 2, ink},  {3, 3, ink},  {4, 4, ink},  // the two ink pixels, doubled
        {3, 1, ring}, {1, 3, ring}, {0, 0, ring}, {5, 5, ring}, // paper next to ink, corners too
        {3, 2, ring}, {6, 6, 0},    {0, 5, 0},    {5, 0, 0},    {6, 1, 0},
    };
    for (const Expect& e : expected) EXPECT_EQ(image.at(e.x, e.y), e.c) << e.x << "," << e.y;
    EXPECT_EQ(font.width("xx", 2), 10); // two glyphs of 2 and one paper column, doubled
}

TEST(ScreenSources, BrokenFontTextIsRefused) {
    struct Case {
        const char* what;
        std::function<void()> parse;
    };
    const Case cases[] = {
        {"glyph rows of unequal width", [] { art::cFont::parse("[a]\n##\n#\n"); }},
        {"glyphs of unequal height", [] { art::cFont::parse("[a]\n#\n#\n\n[b]\n#\n"); }},
        {"a stray character in a glyph", [] { art::cFont::parse("[a]\n#x\n"); }},
        {"a glyph named twice", [] { art::cFont::parse("[a]\n#\n\n[a]\n#\n"); }},
        {"pixels before any glyph", [] { art::cFont::parse("##\n"); }},
        {"a character the font lacks", [] { art::cFont::parse("[a]\n#\n").width("ab"); }},
    };
    for (const Case& c : cases) EXPECT_THROW(c.parse(), std::runtime_error) << c.what;
}

} // namespace
