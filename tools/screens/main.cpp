// Paints the screens and menu pictures into a data directory.
//   lv_screens SOURCE_DIR DATA_DIR [PREVIEW_DIR]
// SOURCE_DIR holds font.txt and icons.art; the pictures land below DATA_DIR
// (menu/..., tiles/back.png). With PREVIEW_DIR it also writes there
// mock-menu.png, the menu as the game composes it over boards of plain
// squares, and font.png, every glyph of the font.
#include <exception>
#include <filesystem>
#include <iostream>

#include "screens.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: lv_screens SOURCE_DIR DATA_DIR [PREVIEW_DIR]\n";
        return 2;
    }
    try {
        const screens::Sources sources = screens::loadSources(argv[1]);
        const std::vector<screens::Picture> pictures = screens::paintAll(sources);
        const std::filesystem::path data(argv[2]);
        for (const screens::Picture& p : pictures) {
            const std::filesystem::path out = data / p.path;
            std::filesystem::create_directories(out.parent_path());
            art::writePng(out.string(), p.image);
        }
        if (argc == 4) {
            std::filesystem::create_directories(argv[3]);
            const std::filesystem::path preview(argv[3]);
            art::writePng((preview / "mock-menu.png").string(), screens::mockMenu(pictures));
            art::writePng((preview / "font.png").string(), screens::fontSpecimen(sources.font));
        }
    } catch (const std::exception& e) {
        std::cerr << "lv_screens: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
