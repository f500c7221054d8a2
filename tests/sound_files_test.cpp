// The game's sound effects as the build makes them, and the synthesizer
// that makes them from their recipes.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "recipe.h"
#include "synth.h"
#include "testSupport.h"
#include "wav.h"

namespace {

const std::string kSoundDir = LV_SOUND_DIR;
const std::string kRecipeDir = LV_SOUND_RECIPE_DIR;
constexpr double kRate = 22050;

std::string wavPath(const std::string& name) { return kSoundDir + "/" + name + ".wav"; }

std::vector<unsigned char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file read back by SDL's own WAV reader, not by ours.
struct Wav {
    SDL_AudioSpec format{};
    std::vector<std::int16_t> samples;

    explicit Wav(const std::string& path) {
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV(path.c_str(), &format, &buffer, &length))
            throw std::runtime_error(path + ": " + SDL_GetError());
        samples.resize(length / 2);
        std::copy_n(buffer, samples.size() * 2, reinterpret_cast<Uint8*>(samples.data()));
        SDL_FreeWAV(buffer);
    }
    double seconds() const { return samples.size() / kRate; }
    std::size_t at(double second) const { return std::min(samples.size(), std::size_t(second * kRate)); }
};

// A rough brightness in Hz: the frequency of the sine whose slope is, for its
// size, as steep as the signal's.
double brightness(const Wav& w, double from, double to) {
    double level = 0, slope = 0;
    for (std::size_t i = w.at(from) + 1; i < w.at(to); ++i) {
        const double s = w.samples[i], d = s - w.samples[i - 1];
        level += s * s;
        slope += d * d;
    }
    return kRate / M_PI * std::asin(std::min(1.0, std::sqrt(slope / level) / 2));
}

// The fundamental between 55 and 400 Hz, by autocorrelation.
double pitch(const Wav& w, double from, double to) {
    int best = 0;
    double bestScore = -2;
    for (int lag = int(kRate / 400); lag <= int(kRate / 55); ++lag) {
        double both = 0, a = 0, b = 0;
        for (std::size_t i = w.at(from); i + lag < w.at(to); ++i) {
            const double x = w.samples[i], y = w.samples[i + lag];
            both += x * y;
            a += x * x;
            b += y * y;
        }
        const double score = both / std::sqrt(a * b + 1);
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return kRate / best;
}

class MadeSound : public ::testing::TestWithParam<std::string> {};

TEST_P(MadeSound, IsCleanMonoPcmAtTheDeviceRate) {
    const Wav w(wavPath(GetParam()));
    EXPECT_EQ(w.format.freq, 22050);
    EXPECT_EQ(w.format.format, AUDIO_S16LSB);
    EXPECT_EQ(w.format.channels, 1);
    ASSERT_GT(w.samples.size(), 1000u);

    // Starts and ends in silence, so it never clicks on or off.
    EXPECT_LE(std::abs(w.samples.front()), 16);
    EXPECT_LE(std::abs(w.samples.back()), 16);

    int peak = 0, jump = 0;
    double sum = 0;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        peak = std::max(peak, std::abs(int(w.samples[i])));
        if (i > 0) jump = std::max(jump, std::abs(w.samples[i] - w.samples[i - 1]));
        sum += w.samples[i];
    }
    EXPECT_LE(peak, 32767 * std::pow(10, -1 / 20.0)) << "louder than -1 dBFS";
    EXPECT_LT(jump, 32768 / 3) << "a click";
    EXPECT_LT(std::abs(sum / w.samples.size()), 0.002 * 32768) << "DC offset";
}

TEST_P(MadeSound, LoadsInTheMixer) {
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    Mix_Chunk* chunk = Mix_LoadWAV(wavPath(GetParam()).c_str());
    EXPECT_NE(chunk, nullptr) << Mix_GetError();
    if (chunk) Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    SDL_Quit();
}

TEST_P(MadeSound, MatchesItsRecipe) {
    testing_support::ScratchDir dir;
    const auto samples = synth::render(synth::loadRecipe(kRecipeDir + "/" + GetParam() + ".recipe"));
    synth::writeWav("again.wav", samples, synth::kRate);
    EXPECT_TRUE(bytesOf("again.wav") == bytesOf(wavPath(GetParam())))
        << "out of date: cmake --build build --target sounds";
}

INSTANTIATE_TEST_SUITE_P(Effects, MadeSound, ::testing::Values("step", "ohno", "win"));

TEST(MadeSounds, EachHasItsOwnCharacter) {
    const Wav step(wavPath("step")), ohno(wavPath("ohno")), win(wavPath("win"));

    // Steps come in quick runs on slides.
    EXPECT_LT(step.seconds(), 0.150);
    EXPECT_GE(ohno.seconds(), 0.5);
    EXPECT_LE(ohno.seconds(), 0.8);
    EXPECT_GE(win.seconds(), 0.6);
    EXPECT_LE(win.seconds(), 1.0);

    // "Oh" high, "no" falling away.
    EXPECT_GT(pitch(ohno, 0.02, 0.15), 1.3 * pitch(ohno, 0.50, 0.65));
    // The chime climbs: the top bell is brighter than the first one alone,
    // and a chime is brighter than a voice.
    EXPECT_GT(brightness(win, 0.28, 0.40), 1.25 * brightness(win, 0.0, 0.08));
    EXPECT_GT(brightness(win, 0, win.seconds()), 1.5 * brightness(ohno, 0, ohno.seconds()));
}

TEST(Synth, PlaysAVoiceAtItsPitchTimeAndLevel) {
    std::istringstream text(
        "length 0.5\n"
        "peak -6\n"
        "voice sine\n"
        "  at 0.1\n"
        "  pitch 1000\n"
        "  amp 0:0 0.01:1 0.35:1 0.39:0\n");
    const auto s = synth::render(synth::parseRecipe(text, "recipe"));
    ASSERT_EQ(s.size(), 11025u);

    EXPECT_TRUE(std::all_of(s.begin(), s.begin() + 2205, [](std::int16_t v) { return v == 0; }));
    int peak = 0;
    for (std::int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    EXPECT_NEAR(peak, 32767 * std::pow(10, -6 / 20.0), 1);

    // Two sign changes a cycle over the steady 0.25 s.
    int changes = 0;
    for (std::size_t i = 3308; i < 8820; ++i) changes += (s[i - 1] < 0) != (s[i] < 0);
    EXPECT_NEAR(changes / 2 / 0.25, 1000, 8);
}

TEST(Synth, RecipeMistakesNameTheirLine) {
    const struct {
        const char* text;
        const char* where;
    } cases[] = {
        {"voice sine\n", "no length"},
        {"length 0.1\n", "no voice"},
        {"length 0.1\npeak 0\n", "recipe:2"},
        {"length 0.1\npitch 440\n", "recipe:2"},
        {"length 0.1\nvoice hum\n", "recipe:2"},
        {"length 0.1\nvoice noise\n  pitch 440\n", "recipe:3"},
        {"length 0.1\nvoice sine\n  amp 0:0 0.2:1 0.1:0\n", "recipe:3"},
        {"length 0.1\nvoice sine\n  formant 500 widht 80\n", "recipe:3"},
        {"length 0.1\nvoice sine\n  gain 1x\n", "recipe:3"},
        {"length 0.1\nvoice buzz\n\n  # fine\n  partial 2\n", "recipe:5"},
        {"length 0.1\nvoice sine\n  ring 0.1 0.2\n", "recipe:3"},
    };
    for (const auto& c : cases) {
        std::istringstream text(c.text);
        try {
            synth::parseRecipe(text, "recipe");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.where), std::string::npos) << e.what();
        }
    }
}

} // namespace
