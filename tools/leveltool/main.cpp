// lv-level: compiles, checks, shows and solves the game's levels.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "level.h"
#include "solver.h"

namespace fs = std::filesystem;
using level::Board;
using level::cLevel;

namespace {

constexpr int kBadInput = 1;
constexpr int kUnsolvable = 2;

const char* const kUsage =
    "usage: lv-level compile LEVEL.txt OUTDIR N   write OUTDIR/lumoraN.map and OUTDIR/vexmoorN.map\n"
    "       lv-level check FILE...                 is each map or level text fit to play?\n"
    "       lv-level show FILE...                  the boards as text\n"
    "       lv-level solve [--per-board] LEVEL.txt\n"
    "       lv-level solve [--per-board] LEFT.map RIGHT.map\n"
    "                                              fewest orders that win the level\n";

bool isLevelText(const std::string& path) { return fs::path(path).extension() == ".txt"; }

bool readFile(const std::string& path, std::vector<unsigned char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in || fs::is_directory(path)) {
        std::fprintf(stderr, "lv-level: cannot read %s\n", path.c_str());
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool readLevelText(const std::string& path, cLevel& level) {
    std::vector<unsigned char> bytes;
    if (!readFile(path, bytes)) return false;
    const std::string problem = level::parseLevelText(std::string(bytes.begin(), bytes.end()), level);
    if (!problem.empty()) {
        std::fprintf(stderr, "lv-level: %s: %s\n", path.c_str(), problem.c_str());
        return false;
    }
    return true;
}

// Reports a board's problems under `name`; true when it has none.
bool reportProblems(const std::string& name, const unsigned char* bytes, std::size_t size) {
    const std::vector<std::string> problems = level::mapProblems(bytes, size);
    for (const std::string& p : problems) std::fprintf(stderr, "lv-level: %s: %s\n", name.c_str(), p.c_str());
    return problems.empty();
}

bool levelFit(const std::string& path, const cLevel& level) {
    const bool left = reportProblems(path + " (Lumora)", level.mLeft.data(), level.mLeft.size());
    const bool right = reportProblems(path + " (Vexmoor)", level.mRight.data(), level.mRight.size());
    return left && right;
}

bool writeMap(const fs::path& path, const Board& board) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(board.data()), static_cast<std::streamsize>(board.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "lv-level: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

int compile(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    const std::string& number = args[2];
    if (number.empty() || number.size() > 3 || number.find_first_not_of("0123456789") != std::string::npos ||
        number[0] == '0') {
        std::fprintf(stderr, "lv-level: the level number is written in digits from 1 up: %s\n",
                     number.c_str());
        return kBadInput;
    }
    cLevel level;
    if (!readLevelText(args[0], level) || !levelFit(args[0], level)) return kBadInput;
    std::error_code ec;
    fs::create_directories(args[1], ec);
    const fs::path dir(args[1]);
    const bool ok = writeMap(dir / ("lumora" + number + ".map"), level.mLeft) &&
                    writeMap(dir / ("vexmoor" + number + ".map"), level.mRight);
    return ok ? 0 : kBadInput;
}

int check(const std::vector<std::string>& files) {
    if (files.empty()) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    bool allFit = true;
    for (const std::string& path : files) {
        if (isLevelText(path)) {
            cLevel level;
            if (!readLevelText(path, level)) {
                allFit = false;
                continue;
            }
            const bool fit = levelFit(path, level);
            allFit = allFit && fit;
            std::printf("%s: %s\n", path.c_str(), fit ? "fit to play" : "NOT fit to play");
            std::printf(" Lumora\n%s", level::mapSummary(level.mLeft.data(), level.mLeft.size()).c_str());
            std::printf(" Vexmoor\n%s", level::mapSummary(level.mRight.data(), level.mRight.size()).c_str());
        } else {
            std::vector<unsigned char> bytes;
            if (!readFile(path, bytes)) {
                allFit = false;
                continue;
            }
            const bool fit = reportProblems(path, bytes.data(), bytes.size());
            allFit = allFit && fit;
            std::printf("%s: %zu bytes, %s\n%s", path.c_str(), bytes.size(),
                        fit ? "fit to play" : "NOT fit to play",
                        level::mapSummary(bytes.data(), bytes.size()).c_str());
        }
    }
    return allFit ? 0 : kBadInput;
}

int show(const std::vector<std::string>& files) {
    if (files.empty()) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    int status = 0;
    for (const std::string& path : files) {
        if (isLevelText(path)) {
            cLevel level;
            if (!readLevelText(path, level)) {
                status = kBadInput;
                continue;
            }
            std::printf("# %s\n%s", path.c_str(), level::formatLevelText(level).c_str());
        } else {
            std::vector<unsigned char> bytes;
            if (!readFile(path, bytes)) {
                status = kBadInput;
                continue;
            }
            Board board{};
            for (std::size_t i = 0; i < board.size() && i < bytes.size(); ++i) board[i] = bytes[i];
            std::printf("# %s\n%s", path.c_str(), level::formatBoard(board).c_str());
        }
    }
    return status;
}

bool readMap(const std::string& path, Board& board) {
    std::vector<unsigned char> bytes;
    if (!readFile(path, bytes) || !reportProblems(path, bytes.data(), bytes.size())) return false;
    std::copy(bytes.begin(), bytes.end(), board.begin());
    return true;
}

void printAlone(const char* side, const Board& board) {
    const level::cPlan plan = level::solveBoard(board);
    if (plan.mSolved) {
        std::printf("%s alone: %zu\n", side, plan.mOrders.size());
    } else {
        std::printf("%s alone: unsolvable\n", side);
    }
}

int solve(std::vector<std::string> args) {
    bool perBoard = false;
    if (!args.empty() && args[0] == "--per-board") {
        perBoard = true;
        args.erase(args.begin());
    }
    cLevel level;
    if (args.size() == 1 && isLevelText(args[0])) {
        if (!readLevelText(args[0], level) || !levelFit(args[0], level)) return kBadInput;
    } else if (args.size() == 2) {
        if (!readMap(args[0], level.mLeft) || !readMap(args[1], level.mRight)) return kBadInput;
    } else {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }

    const level::cPlan plan = level::solveLevel(level);
    if (!plan.mSolved) {
        std::printf("unsolvable\n");
    } else {
        std::string keys;
        for (level::eOrder order : plan.mOrders) {
            if (!keys.empty()) keys += ' ';
            keys += level::keyName(order);
        }
        std::printf("orders: %zu\nkeys: %s\n", plan.mOrders.size(), keys.c_str());
    }
    if (perBoard) {
        printAlone("left", level.mLeft);
        printAlone("right", level.mRight);
    }
    return plan.mSolved ? 0 : kUnsolvable;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "compile") return compile(args);
    if (command == "check") return check(args);
    if (command == "show") return show(args);
    if (command == "solve") return solve(args);
    if (command == "help" || command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fprintf(stderr, "lv-level: no command '%s'\n%s", command.c_str(), kUsage);
    return kBadInput;
}
