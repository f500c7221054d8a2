// make-sounds OUTDIR RECIPE...
// Plays every recipe into OUTDIR/<recipe name>.wav.
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "recipe.h"
#include "synth.h"
#include "wav.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make-sounds OUTDIR RECIPE...\n";
        return 2;
    }
    try {
        const std::filesystem::path outDir = argv[1];
        std::filesystem::create_directories(outDir);
        for (int i = 2; i < argc; ++i) {
            const std::filesystem::path recipe = argv[i];
            const auto samples = synth::render(synth::loadRecipe(recipe.string()));
            synth::writeWav((outDir / recipe.stem()).string() + ".wav", samples, synth::kRate);
        }
    } catch (const std::exception& e) {
        std::cerr << "make-sounds: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
