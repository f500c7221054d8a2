// Runs the benchmarks on a started game, headless: SDL's dummy video and audio
// drivers unless the caller names others (scripts/bench runs the passes once
// more in a real X server). The data is what the build shipped into data/
// beside this program, with stand-ins for files it does not have yet.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "benchData.h"
#include "cGame.h"

namespace bench {
cGame* gGame = nullptr;
}

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The benchmarks run in the data tree's directory: a results file named
    // relative to the caller's directory stays there.
    namespace fs = std::filesystem;
    // --data=DIR reads the game's files from DIR instead of data/ beside this program.
    fs::path shipped = fs::read_symlink("/proc/self/exe").parent_path() / "data";
    std::vector<std::string> args;
    const std::string outFlag = "--benchmark_out=", dataFlag = "--data=";
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind(dataFlag, 0) == 0) {
            shipped = fs::absolute(arg.substr(dataFlag.size()));
            continue;
        }
        if (arg.rfind(outFlag, 0) == 0) arg = outFlag + fs::absolute(arg.substr(outFlag.size())).string();
        args.push_back(arg);
    }
    std::vector<char*> pointers;
    for (std::string& arg : args) pointers.push_back(arg.data());
    argc = static_cast<int>(pointers.size());
    argv = pointers.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    bench::cDataTree tree(shipped);
    fs::current_path(tree.root());
    benchmark::AddCustomContext("data", std::to_string(tree.shippedFiles()) + " shipped files, " +
                                            std::to_string(tree.standIns()) + " stand-ins");
    benchmark::AddCustomContext("video driver", std::getenv("SDL_VIDEODRIVER"));

    cGame game;
    if (!game.init()) return 1;
    bench::gGame = &game;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    game.end();
    return 0;
}
