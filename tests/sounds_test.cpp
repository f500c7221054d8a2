// The sound cache over a real (dummy-driven) SDL_mixer.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>

#include "cSounds.h"
#include "testSupport.h"

using testing_support::ScratchDir;
using testing_support::writeWav;

class SoundCache : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ::testing::internal::CaptureStdout();
        cSounds::inst()->init();
        initLine = ::testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        cSounds::inst()->exit();
        SDL_Quit();
    }
    ScratchDir dir;
    std::string initLine;
};

TEST_F(SoundCache, OneInstanceAndOneLineAtInit) {
    EXPECT_EQ(cSounds::inst(), cSounds::inst());
    ASSERT_FALSE(initLine.empty());
    EXPECT_EQ(initLine.find('\n'), initLine.size() - 1);
}

TEST_F(SoundCache, EachFileIsDecodedOnceAndKeptAfterExit) {
    writeWav("data/sounds/once.wav", 50);
    cSounds::inst()->play("data/sounds/once.wav");
    Mix_Chunk* first = cSounds::inst()->chunk("data/sounds/once.wav");
    ASSERT_NE(first, nullptr);
    // Gone from disk: a second play must not need the file.
    std::filesystem::remove("data/sounds/once.wav");
    cSounds::inst()->play("data/sounds/once.wav");
    cSounds::inst()->load("data/sounds/once.wav");
    EXPECT_EQ(cSounds::inst()->chunk("data/sounds/once.wav"), first);
    cSounds::inst()->exit();
    EXPECT_EQ(cSounds::inst()->chunk("data/sounds/once.wav"), first);
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024);
}

TEST_F(SoundCache, AMissingFileIsRetriedUntilItAppears) {
    cSounds::inst()->play("data/sounds/late.wav");
    EXPECT_EQ(cSounds::inst()->chunk("data/sounds/late.wav"), nullptr);
    writeWav("data/sounds/late.wav", 50);
    cSounds::inst()->play("data/sounds/late.wav");
    EXPECT_NE(cSounds::inst()->chunk("data/sounds/late.wav"), nullptr);
}

TEST_F(SoundCache, TwoPlaysOfOneEffectOverlap) {
    writeWav("data/sounds/long.wav", 1000);
    cSounds::inst()->play("data/sounds/long.wav");
    cSounds::inst()->play("data/sounds/long.wav");
    EXPECT_EQ(Mix_Playing(-1), 2);
}

TEST_F(SoundCache, BrokenFilesPlayNothing) {
    testing_support::writeText("data/sounds/text.wav", "not a sound at all");
    cSounds::inst()->play("data/sounds/text.wav");
    EXPECT_EQ(cSounds::inst()->chunk("data/sounds/text.wav"), nullptr);
    EXPECT_EQ(Mix_Playing(-1), 0);
}
