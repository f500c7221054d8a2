#include "soundCue.h"

namespace soundCue {
namespace {
Sink gSink = nullptr;
}

Sink setSink(Sink sink) {
    Sink previous = gSink;
    gSink = sink;
    return previous;
}

void play(const std::string& path) {
    if (gSink != nullptr) {
        gSink(path);
    }
}

} // namespace soundCue
