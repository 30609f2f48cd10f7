#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace unlha {

// Compresses data as -lh5-: LZSS over an 8 KiB window (matches of 3 to 256 bytes), coded
// in blocks with static Huffman tables. Gives up and returns false as soon as the output
// would reach limit bytes, so a file that does not shrink costs little before it is stored.
bool EncodeLh5(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>* out);

} // namespace unlha
