// Pictures: the texture cache, the boards and the two composed screens.
#include <SDL.h>
#include <SDL_image.h>

#include "cGame.h"
#include "cWorld.h"
#include "gameFile.h"

namespace {
constexpr int kCell = 32;
constexpr int kLeftBoardX = 32;
constexpr int kRightBoardX = 352;
constexpr int kBoardTop = 32;
// Tall pictures (blockers, heroes) reach 24 pixels above their cell, the goal 8.
constexpr int kTallRise = 24;
constexpr int kGoalRise = 8;
} // namespace

// Pictures are kept as the decoder returns them, never freed; a failed load
// is tried again at the next request.
SDL_Surface* cGame::tex(std::string path) {
    auto entry = mTextures.try_emplace(path, nullptr).first;
    if (entry->second == nullptr) loadTex(path);
    return entry->second;
}

void cGame::loadTex(std::string path) {
    SDL_Surface* picture = isGameFile(path) ? IMG_Load(path.c_str()) : nullptr;
    mTextures[path] = picture;
}

// The blit uses the picture's own size and clips to the screen; a null picture draws nothing.
void cGame::drawSprite(SDL_Surface* picture, int x, int y) {
    SDL_Rect where = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(picture, nullptr, mScreen, &where);
}

// Column by column, top to bottom, so that an overlay reaching above its cell
// covers the cell above it and is covered by the cell below.
void cGame::drawTiles(cWorld& world, int xOffset, bool rightSide) {
    char path[] = "data/tiles/A00.png";
    path[11] = rightSide ? 'D' : 'A';
    for (int c = 0; c < tile::kColumns; ++c) {
        for (int r = 0; r < tile::kRows; ++r) {
            const std::uint32_t t = world.getTile(static_cast<unsigned>(c), static_cast<unsigned>(r));
            const unsigned n = tile::picture(t);
            const int x = xOffset + kCell * c;
            const int y = kBoardTop + kCell * r;
            if (n != 0) {
                path[12] = static_cast<char>('0' + n / 10);
                path[13] = static_cast<char>('0' + n % 10);
                drawSprite(tex(path), x, y);
            }
            if (tile::isBlocker(t)) {
                drawSprite(tex("data/tiles/blocker.png"), x, y - kTallRise);
            } else if (tile::isGoal(t)) {
                drawSprite(tex("data/tiles/goal.png"), x, y - kGoalRise);
            } else if (tile::isSlide(t)) {
                drawSprite(tex(rightSide ? "data/tiles/oil.png" : "data/tiles/ice.png"), x, y);
            }
        }
    }
}

void cGame::drawGame() {
    drawSprite(tex("data/tiles/back.png"), 0, 0);
    int xOffset = kLeftBoardX;
    for (cWorld* world : {mLeftWorld, mRightWorld}) {
        drawTiles(*world, xOffset, world == mRightWorld);
        if (cHero* hero = world->getHero()) {
            const int row = hero->getY();
            const int column = hero->getX();
            // Asking for the picture is what advances a running animation.
            drawSprite(tex(hero->getSprite()), xOffset + kCell * column,
                       kBoardTop + kCell * row - kTallRise);
        }
        xOffset = kRightBoardX;
    }
    SDL_Flip(mScreen);
}

void cGame::drawMenu() {
    drawSprite(tex("data/menu/background.png"), 0, 0);
    drawTiles(*mLeftWorld, kLeftBoardX, false);
    drawTiles(*mRightWorld, kRightBoardX, true);
    drawSprite(tex("data/menu/btnLeft.png"), 32, 32);
    drawSprite(tex("data/menu/logo.png"), 96, 32);
    drawSprite(tex("data/menu/selectLevel.png"), 128, 128);
    drawSprite(tex("data/menu/btnRight.png"), 544, 32);
    drawSprite(tex("data/menu/btnStart.png"), 159, 384);
    SDL_Flip(mScreen);
}
