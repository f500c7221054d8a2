// The board and hero pictures: the text pixel-art reader, and the built
// pictures the game asks for.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gameAssets.h"
#include "image.h"
#include "ops.h"
#include "pixelArt.h"

namespace {

constexpr std::uint32_t kRed = art::rgba(255, 0, 0);
constexpr std::uint32_t kBlue = art::rgba(0, 0, 255);
constexpr std::uint32_t kWhite = art::rgba(255, 255, 255);

const char* const kBook = R"(# a remark
palette warm
  r ff0000   red
  h ff000080 red, half
palette cold from warm
  r 0000ff
  w ffffff

part dot 2x1
  use warm
  grid
r.

picture flag 3x2
  use warm
  grid
rh.
.rr

  stamp dot 1 1
picture flag-cold from flag with warm=cold
picture flag-back from flag
  mirror
picture flag-white 3x2
  use cold
  grid
..w

  under flag
)";

art::Image render(const std::string& text, const std::string& name) {
    art::cArtBook book;
    book.read(text, "t.art");
    return book.render(name);
}

} // namespace

TEST(PixelArt, GridsPalettesAndPicturesMadeFromOthers) {
    art::cArtBook book;
    book.read(kBook, "t.art");
    EXPECT_EQ(book.pictures(), (std::vector<std::string>{"flag", "flag-back", "flag-cold", "flag-white"}));

    const art::Image flag = book.render("flag");
    ASSERT_EQ(flag.width, 3);
    ASSERT_EQ(flag.height, 2);
    EXPECT_EQ(flag.pixels, (std::vector<std::uint32_t>{kRed, 0xff000080, 0, 0, kRed, kRed}));

    // The swap reaches the stamped part too; the cold palette has no 'h' and
    // takes it from the palette it is based on.
    EXPECT_EQ(book.render("flag-cold").pixels, (std::vector<std::uint32_t>{kBlue, 0xff000080, 0, 0, kBlue, kBlue}));
    EXPECT_EQ(book.render("flag-back").pixels, (std::vector<std::uint32_t>{0, 0xff000080, kRed, kRed, kRed, 0}));
    // 'under' goes behind: the white corner stays, the flag fills the rest.
    EXPECT_EQ(book.render("flag-white").pixels, (std::vector<std::uint32_t>{kRed, 0xff000080, kWhite, 0, kRed, kRed}));
}

TEST(PixelArt, FaultsNameTheFileAndLine) {
    struct Case {
        const char* text;
        const char* picture; // rendered when the fault shows only then
        const char* where;
        const char* what;
    };
    const Case cases[] = {
        {"palette p\n  r ff00\n", nullptr, "t.art:2", "not a colour"},
        {"palette p\n  r ff0000\n  r 00ff00\n", nullptr, "t.art:3", "given twice"},
        {"palette p\n  . 000000\n", nullptr, "t.art:2", "always transparent"},
        {"picture a 2x2\n  use p\n  grid\nrr\nr\n", nullptr, "t.art:5", "row is 1 wide"},
        {"picture a 2x2\n  use p\n  grid\nr r\n", nullptr, "t.art:4", "no spaces"},
        {"picture a 2x2\n  wobble\n", nullptr, "t.art:2", "unknown step"},
        {"picture a 2\n", nullptr, "t.art:1", "size"},
        {"picture ../a 2x2\n", nullptr, "t.art:1", "bad name"},
        {"picture a 1x1\npicture a 1x1\n", nullptr, "t.art:2", "declared twice"},
        {"picture a 1x1\n  fade 150%\n", nullptr, "t.art:2", "up to 100%"},
        {"palette p\n  r ff0000\npicture a 1x1\n  use p\n  grid\nq\n", "a", "t.art:5", "no colour 'q'"},
        {"picture a 1x1\n  grid\nr\n", "a", "t.art:2", "use PALETTE"},
        {"palette p\n  r ff0000\npicture a 1x1\n  use p\n  grid 1 0\nr\n", "a", "t.art:5", "does not fit"},
        {"picture a 1x1\n  stamp b\n", "a", "t.art:2", "no picture 'b'"},
        {"picture a 1x1\n  stamp b\npicture b 1x1\n  stamp a\n", "a", "t.art:", "drawn from itself"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            art::cArtBook book;
            book.read(c.text, "t.art");
            if (c.picture != nullptr) book.render(c.picture);
            ADD_FAILURE() << "accepted";
        } catch (const art::cArtError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.where), std::string::npos) << message;
            EXPECT_NE(message.find(c.what), std::string::npos) << message;
        }
    }
}

TEST(PixelArt, WholePictureSteps) {
    const std::string square = "palette p\n  w ffffff\n  r ff0000\npicture sq 4x4\n  use p\n  grid\nww..\nww..\n....\n....\n\n";
    // Halving about the top-left corner leaves one white pixel there.
    const art::Image half = render(square + "  scale 50% 0 0\n", "sq");
    EXPECT_EQ(half.at(0, 0), kWhite);
    EXPECT_EQ(half.at(1, 0), 0u);
    EXPECT_EQ(half.at(0, 1), 0u);
    // Halving about the middle keeps the square's corner at the middle,
    // blended from the four pixels it covers.
    const art::Image centred = render(square + "  scale 50% 2 2\n", "sq");
    EXPECT_EQ(centred.at(1, 1), kWhite);
    EXPECT_EQ(centred.at(0, 0), 0u);
    EXPECT_EQ(centred.at(2, 2), 0u);

    const art::Image moved = render(square + "  move 2 1\n  outline ff0000\n", "sq");
    EXPECT_EQ(moved.at(2, 1), kWhite);
    EXPECT_EQ(moved.at(0, 0), 0u);
    EXPECT_EQ(moved.at(1, 1), kRed);  // the rim, left of the square
    EXPECT_EQ(moved.at(2, 0), kRed);  // and above it
    EXPECT_EQ(moved.at(1, 0), 0u);    // not on the diagonal

    const art::Image faded = render(square + "  tint 000000 50%\n  fade 50%\n", "sq");
    EXPECT_EQ(faded.at(0, 0), art::rgba(128, 128, 128, 128));
}

namespace {

enum class Look { Opaque, Standing, Sheet };

struct Wanted {
    std::string path; // below data/
    int width, height;
    Look look;
};

// The board and hero pictures of the game's list, and how each must look.
std::vector<Wanted> wantedPictures() {
    std::vector<Wanted> all;
    for (const gameAssets::Picture& p : gameAssets::pictures()) {
        if (p.path.rfind("data/menu/", 0) == 0 || p.path == "data/tiles/back.png") continue; // the screens'
        const std::string path = p.path.substr(5); // below data/
        const bool cell = path.rfind("tiles/A", 0) == 0 || path.rfind("tiles/D", 0) == 0;
        const bool sheet = path == "tiles/ice.png" || path == "tiles/oil.png";
        all.push_back({path, p.width, p.height, cell ? Look::Opaque : sheet ? Look::Sheet : Look::Standing});
    }
    return all;
}

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

std::vector<std::uint32_t> pixelsOf(SDL_Surface* s) {
    std::vector<std::uint32_t> out;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
            Uint32 value = 0;
            std::memcpy(&value, p, s->format->BytesPerPixel);
            Uint8 r, g, b, a;
            SDL_GetRGBA(value, s->format, &r, &g, &b, &a);
            out.push_back(art::rgba(r, g, b, a));
        }
    }
    SDL_UnlockSurface(s);
    return out;
}

} // namespace

// Every picture the game draws on a board is built, decodes, has its size,
// is see-through where it must be, and is what its source says.
TEST(BuiltPictures, EveryBoardAndHeroPicture) {
    art::cArtBook book;
    book.readDirectory(LV_PICTURE_SOURCES);
    for (const Wanted& w : wantedPictures()) {
        SCOPED_TRACE(w.path);
        const std::string file = std::string(LV_DATA_DIR) + "/" + w.path;
        Surface s(IMG_Load(file.c_str()), SDL_FreeSurface);
        ASSERT_NE(s, nullptr) << IMG_GetError();
        ASSERT_EQ(s->w, w.width);
        ASSERT_EQ(s->h, w.height);
        // An opaque cell is written without an alpha channel, which blits faster.
        if (w.look != Look::Opaque) {
            ASSERT_NE(s->format->Amask, 0u) << "no alpha channel";
        }

        const std::vector<std::uint32_t> pixels = pixelsOf(s.get());
        int clear = 0, solid = 0;
        for (std::uint32_t p : pixels) {
            clear += (p & 255) == 0;
            solid += (p & 255) == 255;
        }
        const int seen = static_cast<int>(pixels.size()) - clear;
        const int all = static_cast<int>(pixels.size());
        switch (w.look) {
        case Look::Opaque: EXPECT_EQ(solid, all); break;
        // Fading frames may have nothing fully opaque left, but never nothing at all.
        case Look::Standing: EXPECT_GT(clear, all / 4); EXPECT_GT(seen, 0); break;
        case Look::Sheet: EXPECT_EQ(solid, 0); EXPECT_LT(clear, all / 4); break;
        }

        const std::string name = w.path.substr(0, w.path.size() - 4);
        ASSERT_TRUE(book.has(name));
        EXPECT_EQ(pixels, book.render(name).pixels) << "build/data is stale or the writer changed the pixels";
    }
}

// A walking hero stands in its own cell: its feet reach the bottom rows and
// nothing but horns, halo or wings rises more than the cell above allows.
TEST(BuiltPictures, HeroesStandInTheirCell) {
    art::cArtBook book;
    book.readDirectory(LV_PICTURE_SOURCES);
    for (const char* hero : {"devil/", "angel/"}) {
        for (const char* frame : {"north", "east", "south", "west"}) {
            SCOPED_TRACE(std::string(hero) + frame);
            const art::Image image = book.render(std::string(hero) + frame);
            int lowestSolid = -1;
            for (int y = 0; y < image.height; ++y) {
                for (int x = 0; x < image.width; ++x) {
                    if ((image.at(x, y) & 255) == 255) lowestSolid = y;
                }
            }
            EXPECT_GE(lowestSolid, 48);
        }
        // West is east seen in a mirror.
        EXPECT_EQ(book.render(std::string(hero) + "west").pixels,
                  art::mirrored(book.render(std::string(hero) + "east")).pixels);
    }
}
