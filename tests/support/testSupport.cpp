#include "testSupport.h"

#include <SDL.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "soundCue.h"

namespace fs = std::filesystem;

namespace testing_support {

ScratchDir::ScratchDir() : mPrevious(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "lv-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    mPath = pattern;
    fs::current_path(mPath);
}

ScratchDir::~ScratchDir() {
    fs::current_path(mPrevious);
    std::error_code ignored;
    fs::remove_all(mPath, ignored);
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    const fs::path p(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::string& path, const std::string& text) {
    writeFile(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::vector<unsigned char> mapFromRows(const std::vector<std::string>& rows) {
    std::vector<unsigned char> bytes(tile::kCells, 0);
    for (std::size_t y = 0; y < rows.size() && y < tile::kRows; ++y) {
        for (std::size_t x = 0; x < rows[y].size() && x < tile::kColumns; ++x) {
            unsigned char b = 0;
            switch (rows[y][x]) {
            case '.': b = 0x01; break;
            case '#': b = 0x21; break;
            case '~': b = 0x41; break;
            case 'G': b = 0x61; break;
            case 'S': b = 0x11; break;
            case 'N': b = 0x31; break;
            case 'W': b = 0x51; break;
            case 'E': b = 0x71; break;
            default: b = 0; break;
            }
            bytes[tile::cellIndex(static_cast<int>(x), static_cast<int>(y))] = b;
        }
    }
    return bytes;
}

void loadRows(cWorld& world, const std::vector<std::string>& rows) {
    const fs::path file = fs::temp_directory_path() / ("lv-rows-" + std::to_string(getpid()) + ".map");
    writeFile(file.string(), mapFromRows(rows));
    world.loadMap(file.string());
    fs::remove(file);
}

namespace {
std::vector<std::string>* gLog = nullptr;

void record(const std::string& path) {
    if (gLog == nullptr) return;
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    gLog->push_back(path.substr(slash + 1, dot - slash - 1));
}
} // namespace

SoundLog::SoundLog() {
    gLog = new std::vector<std::string>();
    mPreviousSink = reinterpret_cast<void*>(soundCue::setSink(record));
}

SoundLog::~SoundLog() {
    soundCue::setSink(reinterpret_cast<soundCue::Sink>(mPreviousSink));
    delete gLog;
    gLog = nullptr;
}

std::vector<std::string> SoundLog::names() const { return *gLog; }
void SoundLog::clear() { gLog->clear(); }

void writePicture(const std::string& path, int width, int height, unsigned rgb) {
    const fs::path p(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000, 0x0000FF00,
                                          0x000000FF, 0);
    SDL_FillRect(s, nullptr, rgb);
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

void writeWav(const std::string& path, int milliseconds) {
    const std::uint32_t rate = 22050;
    const std::uint32_t samples = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    const std::uint32_t dataBytes = samples * 2;
    std::vector<unsigned char> b;
    auto put = [&b](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    auto tag = [&b](const char* t) { b.insert(b.end(), t, t + 4); };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);        // PCM
    put(1, 2);        // mono
    put(rate, 4);
    put(rate * 2, 4); // bytes a second
    put(2, 2);        // block align
    put(16, 2);       // bits
    tag("data");
    put(dataBytes, 4);
    b.resize(b.size() + dataBytes, 0);
    writeFile(path, b);
}

} // namespace testing_support
