#pragma once

#include <memory>
#include <vector>

#include "cHero.h"
#include "cWorld.h"
#include "level.h"

// The shortest way through a level, found by playing the game's own rules.
namespace level {

// The three orders that change anything; the down arrow changes nothing.
enum class eOrder : unsigned char { Up, Left, Right };

// The key name a player presses for an order: "up", "left", "right".
const char* keyName(eOrder order);

struct cPlan {
    bool mSolved = false;
    std::vector<eOrder> mOrders;
};

// Boards played together: every order goes to each board's hero in turn,
// the first board first, exactly as the game frame hands them out.
// The boards must each hold a hero (see mapProblems).
class cPuzzle {
public:
    explicit cPuzzle(const std::vector<Board>& boards);

    // The heroes as the maps place them.
    std::vector<cHero> start() const;

    // One order to every hero. False when a hero fell, which loses the level.
    bool give(std::vector<cHero>& heroes, eOrder order);

    static bool allWon(const std::vector<cHero>& heroes);

    // Breadth-first over the heroes' joint positions, facings and goal flags:
    // the first plan found is a shortest one. Plays no sound.
    cPlan solve();

private:
    std::vector<std::unique_ptr<cWorld>> mWorlds;
};

cPlan solveLevel(const cLevel& level);
// One board on its own, as if the other hero were not there.
cPlan solveBoard(const Board& board);

} // namespace level
