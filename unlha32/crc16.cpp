#include "unlha32/crc16.h"

#include <array>

namespace unlha {

namespace {

std::array<uint16_t, 256> MakeTable()
{
    std::array<uint16_t, 256> table {};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t r = static_cast<uint16_t>(i);
        for (int k = 0; k < 8; ++k)
            r = (r & 1) ? static_cast<uint16_t>((r >> 1) ^ 0xA001) : static_cast<uint16_t>(r >> 1);
        table[i] = r;
    }
    return table;
}

} // namespace

uint16_t Crc16(uint16_t crc, const void* data, size_t size)
{
    static const std::array<uint16_t, 256> table = MakeTable();
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i)
        crc = static_cast<uint16_t>(table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

} // namespace unlha
