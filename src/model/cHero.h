#pragma once

#include <string>

// The hero of one board: where it stands, where it faces, whether it has
// fallen or reached its goal, and the animation that follows either.
class cHero {
public:
    cHero(signed char dir, signed char x, signed char y, bool rightSide);

    signed char getX() const { return mX; }
    signed char getY() const { return mY; }
    signed char getDir() const { return mDir; }
    signed char getForwardX() const;
    signed char getForwardY() const;

    void rotCW();
    void rotCCW();
    void moveForward();
    void die();
    void win();

    bool alive() const { return mAlive; }
    bool won() const { return mWon; }
    bool animating() const { return mAnimating; }
    int frame() const { return mFrame; }

    // Path of the picture to draw this frame. Each call advances a running
    // exit or death animation by one frame and ends it after its last one.
    std::string getSprite();

private:
    signed char mDir;
    signed char mX;
    signed char mY;
    bool mAlive = true;
    bool mWon = false;
    bool mAnimating = false;
    bool mRightSide;
    int mFrame = 0;
};
