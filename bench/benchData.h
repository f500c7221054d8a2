#pragma once

#include <filesystem>

class cGame;

namespace bench {

// The data/ tree the game reads, laid out in a fresh directory: each file the
// game asks for is a link to the one the build shipped, or a simple stand-in
// where the build has none yet, so that the benchmarks always run.
class cDataTree {
public:
    explicit cDataTree(const std::filesystem::path& shipped);
    ~cDataTree();
    cDataTree(const cDataTree&) = delete;
    cDataTree& operator=(const cDataTree&) = delete;

    // The directory that holds data/: the game's working directory.
    const std::filesystem::path& root() const { return mRoot; }
    int shippedFiles() const { return mShipped; }
    int standIns() const { return mStandIns; }

private:
    std::filesystem::path mRoot;
    int mShipped = 0;
    int mStandIns = 0;
};

// The game every benchmark drives, started on the tree's data (see main.cpp).
extern cGame* gGame;

} // namespace bench
