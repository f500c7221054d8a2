// Makes the board and hero pictures from the text pixel art below
// assets/pictures, and on request a sample screen to look at them together.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "draw.h"
#include "image.h"
#include "pixelArt.h"

namespace {

constexpr int kCell = 32;
constexpr int kRise = 24;   // blockers and heroes stand this far into the cell above
constexpr int kGoalRise = 8;

// Sample boards, one character a cell: ' ' hole, '1'..'9' 'a'..'f' a floor
// with that picture number, 'B' 'b' 'K' blockers on 7 8 9, 'S' 's' slides on
// 10 11, 'G' 'g' goals on 12 13.
const std::vector<std::string> kLeftSample = {
    "1213 bB1", "4G1612 1", "1SSS1511", "31SsS1K1", "1 1SS121", "  2 11B1", "1e11f1 3",
    "K2 31g12", "1611Ss41", "  15S1 1", "12SsS221", "B41 11 1", "b111213 ",
};
const std::vector<std::string> kRightSample = {
    " 11b1211", "1g12 611", "13SsS1B1", "1 1S41 1", "11SS1151", "K1 21 1 ", "2e1f1131",
    "11 B1 21", "1Ss1161G", "1S 41 11", "16ss2 b1", "1 1 51K1", "131221 1",
};

struct Hero {
    int column, row;
    const char* picture;
};

void drawBoard(art::Image& screen, const art::cArtBook& book, const std::vector<std::string>& rows, int x0,
               bool right) {
    const std::string set = right ? "tiles/D" : "tiles/A";
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 13; ++r) {
            const char k = rows[r][c];
            int picture = 0;
            std::string overlay;
            int rise = 0;
            if (k >= '1' && k <= '9') picture = k - '0';
            if (k >= 'a' && k <= 'f') picture = k - 'a' + 10;
            if (k == 'B' || k == 'b' || k == 'K') {
                picture = k == 'B' ? 7 : k == 'b' ? 8 : 9;
                overlay = "tiles/blocker";
                rise = kRise;
            }
            if (k == 'S' || k == 's') {
                picture = k == 'S' ? 10 : 11;
                overlay = right ? "tiles/oil" : "tiles/ice";
            }
            if (k == 'G' || k == 'g') {
                picture = k == 'G' ? 12 : 13;
                overlay = "tiles/goal";
                rise = kGoalRise;
            }
            const int x = x0 + kCell * c;
            const int y = kCell + kCell * r;
            if (picture != 0) {
                char name[8];
                std::snprintf(name, sizeof name, "%02d", picture);
                art::drawImage(screen, book.render(set + name), x, y);
            }
            if (!overlay.empty()) art::drawImage(screen, book.render(overlay), x, y - rise);
        }
    }
}

// Both boards as the game shows them, two heroes on each, and under them every
// hero picture in a row: walking and leaving on floor, falling over the void.
art::Image preview(const art::cArtBook& book) {
    const char* frames[] = {"north", "east", "south", "west", "exit1", "exit2", "exit3",
                            "exit4", "die1",  "die2", "die3",  "die4",  "die5",  "die6"};
    art::Image screen(640, 480 + 2 * 64);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const unsigned depth = static_cast<unsigned>(18 - 12 * y / screen.height);
            screen.at(x, y) = art::rgba(depth / 2, depth / 2, depth);
        }
    }
    drawBoard(screen, book, kLeftSample, 32, false);
    drawBoard(screen, book, kRightSample, 352, true);
    const Hero left[] = {{1, 6, "devil/east"}, {4, 9, "devil/north"}};
    const Hero right[] = {{1, 6, "angel/east"}, {2, 3, "angel/north"}};
    for (const Hero& h : left) art::drawImage(screen, book.render(h.picture), 32 + kCell * h.column, kCell * h.row + 8);
    for (const Hero& h : right) {
        art::drawImage(screen, book.render(h.picture), 352 + kCell * h.column, kCell * h.row + 8);
    }
    int y = 480;
    for (const char* hero : {"devil/", "angel/"}) {
        const std::string floor = hero[0] == 'd' ? "tiles/A01" : "tiles/D01";
        for (int i = 0; i < 14; ++i) {
            const int x = 40 + 40 * i;
            if (i < 8) art::drawImage(screen, book.render(floor), x, y + kRise);
            art::drawImage(screen, book.render(hero + std::string(frames[i])), x, y);
        }
        y += 64;
    }
    return art::scaled(screen, 3);
}

} // namespace

int main(int argc, char** argv) {
    const bool ok = argc == 3 || (argc == 4 && std::string(argv[2]) == "--preview");
    if (!ok) {
        std::fprintf(stderr,
                     "usage: %s SOURCES OUTPUT           write every picture as OUTPUT/NAME.png\n"
                     "       %s SOURCES --preview FILE   a sample screen of both boards and heroes, 3x\n",
                     argv[0], argv[0]);
        return 2;
    }
    try {
        art::cArtBook book;
        book.readDirectory(argv[1]);
        if (argc == 4) {
            art::writePng(argv[3], preview(book));
            return 0;
        }
        const std::filesystem::path out(argv[2]);
        for (const std::string& name : book.pictures()) {
            const std::filesystem::path file = out / (name + ".png");
            std::filesystem::create_directories(file.parent_path());
            art::writePng(file.string(), book.render(name));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
