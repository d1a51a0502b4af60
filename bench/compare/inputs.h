// The inputs of the side-by-side cases, made on the spot so that anyone can repeat the figures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace granvel::bench {

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A bottom-up BMP of 4 or 8 bits per pixel with a full colour table and a pattern of pixels.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits);

// `size` bytes of a fixed pseudo-random sequence (no run of equal bytes to favour anything).
std::vector<std::uint8_t> MakeBinary(std::size_t size, std::uint32_t seed);

// Makes the mixed batch in `dir` and returns the names it made: `count` files, as many of each kind in turn:
// 64x64 4-bit images, small binary files, program texts, MEM texts, screen texts and program containers.
std::vector<std::string> MakeMixedBatch(const std::filesystem::path& dir, int count);

}  // namespace granvel::bench
