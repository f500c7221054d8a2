#include "solver.h"

#include <cstdint>

#include "soundCue.h"

namespace level {
namespace {

// A living hero is on the board, so its whole state fits in one small number:
// cell, facing and whether it has reached its goal. A fallen hero is never kept.
constexpr std::uint32_t kHeroStates = tile::kCells * 4 * 2;

int facingIndex(signed char dir) {
    switch (dir) {
    case tile::kNorth: return 0;
    case tile::kEast: return 1;
    case tile::kSouth: return 2;
    default: return 3;
    }
}

constexpr signed char kFacing[] = {tile::kNorth, tile::kEast, tile::kSouth, tile::kWest};

std::uint32_t encode(const cHero& hero) {
    const std::uint32_t cell = static_cast<std::uint32_t>(tile::cellIndex(hero.getX(), hero.getY()));
    return (cell * 4 + static_cast<std::uint32_t>(facingIndex(hero.getDir()))) * 2 +
           (hero.won() ? 1 : 0);
}

cHero decode(std::uint32_t code, bool rightSide) {
    const bool won = code % 2 != 0;
    code /= 2;
    const signed char dir = kFacing[code % 4];
    code /= 4;
    cHero hero(dir, static_cast<signed char>(code % tile::kColumns),
               static_cast<signed char>(code / tile::kColumns), rightSide);
    if (won) hero.win();
    return hero;
}

// The search plays the rules silently and restores whatever listened before.
class cSilence {
public:
    cSilence() : mPrevious(soundCue::setSink(nullptr)) {}
    ~cSilence() { soundCue::setSink(mPrevious); }
    cSilence(const cSilence&) = delete;
    cSilence& operator=(const cSilence&) = delete;

private:
    soundCue::Sink mPrevious;
};

constexpr eOrder kOrders[] = {eOrder::Up, eOrder::Left, eOrder::Right};

} // namespace

const char* keyName(eOrder order) {
    switch (order) {
    case eOrder::Left: return "left";
    case eOrder::Right: return "right";
    default: return "up";
    }
}

cPuzzle::cPuzzle(const std::vector<Board>& boards) {
    for (std::size_t i = 0; i < boards.size(); ++i) {
        // The second board is Vexmoor's, as in the game.
        auto world = std::make_unique<cWorld>(i == 1);
        world->loadBytes(boards[i].data(), boards[i].size());
        mWorlds.push_back(std::move(world));
    }
}

std::vector<cHero> cPuzzle::start() const {
    std::vector<cHero> heroes;
    for (const auto& world : mWorlds) heroes.push_back(*world->getHero());
    return heroes;
}

bool cPuzzle::give(std::vector<cHero>& heroes, eOrder order) {
    bool allAlive = true;
    for (std::size_t i = 0; i < mWorlds.size(); ++i) {
        cWorld& world = *mWorlds[i];
        cHero& onBoard = *world.getHero();
        onBoard = heroes[i];
        switch (order) {
        case eOrder::Left: onBoard.rotCCW(); break;
        case eOrder::Right: onBoard.rotCW(); break;
        case eOrder::Up: world.moveHeroForward(); break;
        }
        heroes[i] = onBoard;
        allAlive = allAlive && onBoard.alive();
    }
    return allAlive;
}

bool cPuzzle::allWon(const std::vector<cHero>& heroes) {
    for (const cHero& hero : heroes) {
        if (!hero.won()) return false;
    }
    return true;
}

cPlan cPuzzle::solve() {
    cSilence silence;
    const std::size_t boards = mWorlds.size();
    std::uint32_t states = 1;
    for (std::size_t i = 0; i < boards; ++i) states *= kHeroStates;

    // parent[s] is the state before s, or -1 while s is unseen.
    std::vector<std::int32_t> parent(states, -1);
    std::vector<eOrder> reachedBy(states, eOrder::Up);
    std::vector<std::uint32_t> queue;

    auto jointCode = [&](const std::vector<cHero>& heroes) {
        std::uint32_t code = 0;
        for (std::size_t i = boards; i-- > 0;) code = code * kHeroStates + encode(heroes[i]);
        return code;
    };
    auto heroesOf = [&](std::uint32_t code) {
        std::vector<cHero> heroes;
        for (std::size_t i = 0; i < boards; ++i) {
            heroes.push_back(decode(code % kHeroStates, i == 1));
            code /= kHeroStates;
        }
        return heroes;
    };
    auto planTo = [&](std::uint32_t code, std::uint32_t first) {
        cPlan plan;
        plan.mSolved = true;
        while (code != first) {
            plan.mOrders.insert(plan.mOrders.begin(), reachedBy[code]);
            code = static_cast<std::uint32_t>(parent[code]);
        }
        return plan;
    };

    const std::vector<cHero> begin = start();
    const std::uint32_t first = jointCode(begin);
    if (allWon(begin)) return planTo(first, first);
    parent[first] = static_cast<std::int32_t>(first);
    queue.push_back(first);
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const std::uint32_t from = queue[next];
        const std::vector<cHero> here = heroesOf(from);
        for (eOrder order : kOrders) {
            std::vector<cHero> heroes = here;
            if (!give(heroes, order)) continue;
            const std::uint32_t to = jointCode(heroes);
            if (parent[to] >= 0) continue;
            parent[to] = static_cast<std::int32_t>(from);
            reachedBy[to] = order;
            if (allWon(heroes)) return planTo(to, first);
            queue.push_back(to);
        }
    }
    return {};
}

cPlan solveLevel(const cLevel& level) { return cPuzzle({level.mLeft, level.mRight}).solve(); }

cPlan solveBoard(const Board& board) { return cPuzzle({board}).solve(); }

} // namespace level
