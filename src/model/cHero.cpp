#include "cHero.h"

#include "soundCue.h"
#include "tile.h"

cHero::cHero(signed char dir, signed char x, signed char y, bool rightSide)
    : mDir(dir), mX(x), mY(y), mRightSide(rightSide) {}

signed char cHero::getForwardX() const {
    if (mDir == tile::kEast) return static_cast<signed char>(mX + 1);
    if (mDir == tile::kWest) return static_cast<signed char>(mX - 1);
    return mX;
}

signed char cHero::getForwardY() const {
    if (mDir == tile::kNorth) return static_cast<signed char>(mY - 1);
    if (mDir == tile::kSouth) return static_cast<signed char>(mY + 1);
    return mY;
}

// A hero on its goal is done and no longer turns; a fallen one still does.
void cHero::rotCW() {
    if (mWon) return;
    mDir = static_cast<signed char>(mDir * 2);
    if (mDir > tile::kWest) mDir = tile::kNorth;
}

void cHero::rotCCW() {
    if (mWon) return;
    mDir = static_cast<signed char>(mDir / 2);
    if (mDir <= 0) mDir = tile::kWest;
}

// One cell ahead, wherever that is: the rules of the world decide whether the
// step is allowed and what it leads to.
void cHero::moveForward() {
    mX = getForwardX();
    mY = getForwardY();
    soundCue::play(soundCue::kStep);
}

void cHero::die() {
    soundCue::play(soundCue::kOhNo);
    mAlive = false;
    mAnimating = true;
}

void cHero::win() {
    soundCue::play(soundCue::kWin);
    mWon = true;
    mAnimating = true;
}

std::string cHero::getSprite() {
    std::string path = mRightSide ? "data/angel/" : "data/devil/";
    if (mWon && mAnimating) {
        // The limit is tested before counting, so exit4 shows twice.
        if (mFrame > 3) {
            mFrame = 0;
            mAnimating = false;
            path += "exit4.png";
        } else {
            ++mFrame;
            path += "exit" + std::to_string(mFrame) + ".png";
        }
    } else if (!mAlive && mAnimating) {
        if (mFrame > 5) {
            mFrame = 0;
            mAnimating = false;
            path += "die6.png";
        } else {
            ++mFrame;
            path += "die" + std::to_string(mFrame) + ".png";
        }
    } else if (mAlive && !mWon) {
        switch (mDir) {
        case tile::kNorth: path += "north.png"; break;
        case tile::kEast: path += "east.png"; break;
        case tile::kWest: path += "west.png"; break;
        default: path += "south.png"; break;
        }
    }
    // A hero whose animation has ended names its realm directory alone,
    // which is no picture: it has vanished from the board.
    return path;
}
