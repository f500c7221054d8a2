#include "gameAssets.h"

namespace gameAssets {
namespace {

std::vector<Picture> makePictures() {
    std::vector<Picture> all = {
        {"data/menu/tovrin.png", 640, 480},     {"data/menu/instruct.png", 640, 480},
        {"data/menu/background.png", 640, 480}, {"data/tiles/back.png", 640, 480},
        {"data/menu/btnLeft.png", 64, 64},      {"data/menu/logo.png", 448, 64},
        {"data/menu/selectLevel.png", 384, 48}, {"data/menu/btnRight.png", 64, 64},
        {"data/menu/btnStart.png", 322, 48},    {"data/tiles/blocker.png", 32, 56},
        {"data/tiles/goal.png", 32, 40},        {"data/tiles/ice.png", 32, 32},
        {"data/tiles/oil.png", 32, 32},
    };
    for (const char* set : {"A", "D"}) {
        for (int n = 1; n <= 15; ++n) {
            all.push_back({std::string("data/tiles/") + set + (n < 10 ? "0" : "") + std::to_string(n) + ".png",
                           32, 32});
        }
    }
    for (const char* realm : {"devil", "angel"}) {
        for (const char* frame : {"north", "east", "south", "west", "exit1", "exit2", "exit3", "exit4", "die1",
                                  "die2", "die3", "die4", "die5", "die6"}) {
            all.push_back({std::string("data/") + realm + "/" + frame + ".png", 32, 56});
        }
    }
    return all;
}

} // namespace

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> list = makePictures();
    return list;
}

const std::vector<std::string>& sounds() {
    static const std::vector<std::string> list = {"data/sounds/step.wav", "data/sounds/ohno.wav",
                                                  "data/sounds/win.wav"};
    return list;
}

bool isMenuPicture(const std::string& path) {
    for (const char* name : {"btnLeft", "logo", "selectLevel", "btnRight", "btnStart"}) {
        if (path == std::string("data/menu/") + name + ".png") return true;
    }
    return false;
}

} // namespace gameAssets
