#include "cSounds.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>

#include "gameFile.h"

cSounds* cSounds::mInstance = nullptr;

cSounds* cSounds::inst() {
    if (mInstance == nullptr) mInstance = new cSounds();
    return mInstance;
}

void cSounds::init() {
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024);
    // Written at every start, opened or not: after a failure it says why.
    std::printf("%s\n", SDL_GetError());
    std::fflush(stdout);
}

void cSounds::exit() { Mix_CloseAudio(); }

void cSounds::load(std::string path) {
    Mix_Chunk*& chunk = mChunks[path];
    if (chunk != nullptr) return;
    if (!isGameFile(path)) return; // stays not loaded, tried again at the next play
    // The decoder takes the stream, also a null one, and closes it itself.
    chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
}

void cSounds::play(std::string path) {
    auto entry = mChunks.try_emplace(path, nullptr).first;
    if (entry->second == nullptr) {
        load(path);
    }
    if (entry->second != nullptr) {
        Mix_PlayChannelTimed(-1, entry->second, 0, -1);
    }
}

Mix_Chunk* cSounds::chunk(const std::string& path) const {
    auto entry = mChunks.find(path);
    return entry == mChunks.end() ? nullptr : entry->second;
}
