#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cWorld.h"

namespace testing_support {

// A fresh directory that becomes the working directory for the life of the
// object, so that the game's relative "data/..." paths land in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return mPath; }

private:
    std::filesystem::path mPath;
    std::filesystem::path mPrevious;
};

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);
void writeText(const std::string& path, const std::string& text);

// A level map from rows of text, one character a cell:
//   ' ' hole  '.' floor  '#' blocker  '~' slide  'G' goal
//   'N' 'E' 'S' 'W' the hero's start, facing that way
// Missing rows and columns are holes. Every cell but a hole gets picture 1.
std::vector<unsigned char> mapFromRows(const std::vector<std::string>& rows);

// A world loaded from rows as above.
void loadRows(cWorld& world, const std::vector<std::string>& rows);

// Records every sound cue the model plays while the recorder lives.
class SoundLog {
public:
    SoundLog();
    ~SoundLog();
    SoundLog(const SoundLog&) = delete;
    SoundLog& operator=(const SoundLog&) = delete;

    // The cues so far as short names: "step", "ohno", "win".
    std::vector<std::string> names() const;
    void clear();

private:
    void* mPreviousSink;
};

// A small valid PNG or WAV written by SDL itself (SDL can save BMPs, which
// SDL_image reads as well, and we only need a decodable picture).
void writePicture(const std::string& path, int width, int height, unsigned rgb);
void writeWav(const std::string& path, int milliseconds);

} // namespace testing_support
