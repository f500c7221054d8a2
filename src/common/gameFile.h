#pragma once

#include <filesystem>
#include <string>

// The game reads its levels, pictures and sounds only from ordinary files.
// Anything else in their place counts as missing: a directory (a vanished
// hero's picture path names its realm directory) holds nothing to decode,
// and a named pipe would keep the reader waiting for a writer forever.
inline bool isGameFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}
