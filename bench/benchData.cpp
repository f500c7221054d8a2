#include "benchData.h"

#include <stdlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "gameAssets.h"
#include "image.h"
#include "tile.h"

namespace fs = std::filesystem;

namespace bench {
namespace {

// Stand-ins for pictures the build has not made: the screens and cells
// opaque, what is drawn over them partly see-through, as in the real data.
std::uint32_t standInFill(const gameAssets::Picture& p) {
    const bool opaque = p.width == 640 || p.path.find("/tiles/A") != std::string::npos ||
                        p.path.find("/tiles/D") != std::string::npos;
    return opaque ? art::rgba(60, 90, 120) : art::rgba(200, 160, 60, 200);
}

// A full stand-in board: every cell drawn, each overlay kind, a hero at the
// top of a slide chain, so that a pass makes about as many blits as a board can.
std::vector<unsigned char> standInMap() {
    std::vector<unsigned char> cells(tile::kCells);
    for (int y = 0; y < tile::kRows; ++y) {
        for (int x = 0; x < tile::kColumns; ++x) {
            unsigned char t = static_cast<unsigned char>(1 + (x + y) % 15);
            if (x == 0) {
                if (y == 0) t |= tile::kHeroMark; // faces south
                else if (y < tile::kRows - 1) t |= tile::kSlide;
            } else if (x == 7 && y == 12) {
                t |= tile::kGoal;
            } else if ((x + 2 * y) % 5 == 0) {
                t |= tile::kBlocker;
            } else if ((x + y) % 7 == 0) {
                t |= tile::kSlide;
            }
            cells[static_cast<std::size_t>(tile::cellIndex(x, y))] = t;
        }
    }
    return cells;
}

// Half a second of silence, 16-bit mono at the mixer's rate.
std::vector<unsigned char> standInWav() {
    const std::uint32_t rate = 22050, dataBytes = rate; // 0.5 s, two bytes a sample
    std::vector<unsigned char> b;
    auto put = [&b](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    auto tag = [&b](const char* t) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(t[i]));
    };
    tag("RIFF"), put(36 + dataBytes, 4), tag("WAVE"), tag("fmt "), put(16, 4);
    put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    tag("data"), put(dataBytes, 4);
    b.resize(b.size() + dataBytes, 0);
    return b;
}

void writeBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

} // namespace

cDataTree::cDataTree(const fs::path& shipped) {
    std::string pattern = (fs::temp_directory_path() / "lv-bench-XXXXXX").string();
    mRoot = mkdtemp(pattern.data());

    // Links to the shipped file where there is one; otherwise `makeStandIn` writes it.
    auto place = [&](const std::string& path, auto makeStandIn) {
        const fs::path target = mRoot / path;
        fs::create_directories(target.parent_path());
        std::error_code missing;
        const fs::path source = fs::canonical(shipped / fs::path(path).lexically_relative("data"), missing);
        if (!missing && fs::is_regular_file(source)) {
            fs::create_symlink(source, target);
            ++mShipped;
        } else {
            makeStandIn(target);
            ++mStandIns;
        }
    };
    for (const gameAssets::Picture& p : gameAssets::pictures()) {
        place(p.path, [&p](const fs::path& target) {
            art::Image image(p.width, p.height, standInFill(p));
            for (int x = 0; x < p.width; x += 3) image.at(x, p.height / 2) = art::rgba(255, 255, 255);
            art::writePng(target.string(), image);
        });
    }
    for (int level = 1; level <= 4; ++level) {
        for (const char* realm : {"lumora", "vexmoor"}) {
            place("data/levels/" + std::string(realm) + std::to_string(level) + ".map",
                  [](const fs::path& target) { writeBytes(target, standInMap()); });
        }
    }
    for (const std::string& sound : gameAssets::sounds()) {
        place(sound, [](const fs::path& target) { writeBytes(target, standInWav()); });
    }
}

cDataTree::~cDataTree() {
    std::error_code ignored;
    fs::remove_all(mRoot, ignored);
}

} // namespace bench
