#pragma once

#include <map>
#include <string>

struct Mix_Chunk;

// The sound-effect cache: one instance for the whole run. Each WAV file is
// decoded on its first successful play and kept until the process ends; a
// file that failed to load is tried again at its next play.
class cSounds {
public:
    static cSounds* inst();

    void init(); // opens the audio device and writes SDL's error text as one line
    void exit(); // closes the audio device; the cache stays
    void load(std::string path);
    void play(std::string path);

    // The cached chunk for `path`, or null (not loaded, or its load failed).
    Mix_Chunk* chunk(const std::string& path) const;

private:
    cSounds() = default;

    std::map<std::string, Mix_Chunk*> mChunks;
    static cSounds* mInstance;
};
