#include "wav.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace synth {

std::vector<unsigned char> wavBytes(const std::vector<std::int16_t>& samples, int rate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> b;
    b.reserve(44 + dataBytes);
    auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    auto tag = [&b](const char* t) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(t[i]));
    };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);                   // size of the format block
    put(1, 2);                    // integer PCM
    put(1, 2);                    // one channel
    put(std::uint32_t(rate), 4);
    put(std::uint32_t(rate) * 2, 4); // bytes a second
    put(2, 2);                    // bytes a frame
    put(16, 2);                   // bits a sample
    tag("data");
    put(dataBytes, 4);
    for (std::int16_t s : samples) put(static_cast<std::uint16_t>(s), 2);
    return b;
}

void writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate) {
    const std::vector<unsigned char> bytes = wavBytes(samples, rate);
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.flush()) throw std::runtime_error(part + ": cannot be written");
    }
    if (std::rename(part.c_str(), path.c_str()) != 0) {
        std::remove(part.c_str());
        throw std::runtime_error(path + ": cannot be written");
    }
}

} // namespace synth
