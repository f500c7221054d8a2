// Every test runs SDL without a display or a sound card: its dummy drivers.
// A test run may still choose others from outside (the real-window tests do).
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
