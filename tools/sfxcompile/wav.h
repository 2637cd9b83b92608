// Writing 16-bit PCM WAV files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sfx {

// The bytes of a mono 16-bit little-endian PCM WAV file.
std::vector<std::uint8_t> wavBytes(const std::vector<std::int16_t>& samples, int sampleRate);

// Writes the file through a temporary file beside it, renamed into place, so a reader
// never sees a half-written WAV. Creates missing parent folders. On failure returns
// false with a message in `error` and leaves nothing behind.
bool writeFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace sfx
