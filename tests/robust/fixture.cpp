#include "fixture.h"

#include <filesystem>

#include "gameAssets.h"
#include "image.h"
#include "testSupport.h"
#include "tile.h"

namespace fixture {
namespace {

std::vector<std::string> makePictures() {
    std::vector<std::string> list;
    for (const gameAssets::Picture& picture : gameAssets::pictures()) list.push_back(picture.path);
    return list;
}

// Rows of text as in mapFromRows, but each cell that is not a hole gets the
// next picture number in turn, so that a level shows all fifteen pictures.
std::vector<unsigned char> withPictures(const std::vector<std::string>& rows) {
    std::vector<unsigned char> bytes = testing_support::mapFromRows(rows);
    unsigned next = 0;
    for (unsigned char& b : bytes) {
        if (b != 0) b = static_cast<unsigned char>((b & ~tile::kPictureMask) | (next++ % 15 + 1));
    }
    return bytes;
}

// Levels 1 and 2 carry two rows of plain floor at the bottom so that the menu
// shows every cell picture of both realms.
const std::vector<std::string> kDecor = {"........", "........"};

std::vector<std::string> rowsOf(int realm, int number) {
    std::vector<std::string> rows;
    switch (number) {
    case 1: // one hero takes two steps, the other slides there in one: right, right... up, up
        rows = realm == 0 ? std::vector<std::string>{"G  # ~  ", ".       ", "N       "}
                          : std::vector<std::string>{"G  # ~  ", "~       ", "N       "};
        break;
    case 2: // up, up wins; a turn to the right and a step falls into a hole
        rows = {" G      ", " .      ", " N      "};
        break;
    case 3: // facing east along a slide
        rows = realm == 0 ? std::vector<std::string>{"E~~.G   "} : std::vector<std::string>{"E~~~G   "};
        break;
    default: // a slide that ends at a blocker, then a turn
        rows = realm == 0 ? std::vector<std::string>{"S       ", "~       ", "~G      ", "#       "}
                          : std::vector<std::string>{"S       ", "~       ", "~~G     ", "#       "};
        break;
    }
    if (number <= 2) {
        rows.resize(tile::kRows - kDecor.size(), "");
        rows.insert(rows.end(), kDecor.begin(), kDecor.end());
    }
    return rows;
}

} // namespace

const std::vector<std::string>& pictures() {
    static const std::vector<std::string> list = makePictures();
    return list;
}

const std::vector<std::string>& sounds() { return gameAssets::sounds(); }

std::uint32_t colourOf(const std::string& picture) {
    const auto& list = pictures();
    std::uint32_t index = 0;
    while (index < list.size() && list[index] != picture) ++index;
    // Steps of 8 in red and 4 in green survive the 16-bit screen unchanged.
    return ((8 * (index % 32)) << 16) | ((4 * (index / 32 + 1)) << 8) | 0x40;
}

std::vector<unsigned char> level(int realm, int number) { return withPictures(rowsOf(realm, number)); }

std::string levelPath(int realm, int number) {
    return std::string("data/levels/") + (realm == 0 ? "lumora" : "vexmoor") + std::to_string(number) +
           ".map";
}

void writeAll() {
    for (const std::string& path : pictures()) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        art::writePng(path, art::Image(16, 16, (colourOf(path) << 8) | 0xFF));
    }
    for (const std::string& path : sounds()) testing_support::writeWav(path, 30);
    for (int number = 1; number <= 4; ++number) {
        for (int realm = 0; realm < 2; ++realm) {
            testing_support::writeFile(levelPath(realm, number), level(realm, number));
        }
    }
}

} // namespace fixture
