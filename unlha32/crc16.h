#pragma once

#include <cstddef>
#include <cstdint>

namespace unlha {

// The CRC-16 of LHA archives (polynomial 0x8005 reflected, starting at 0).
uint16_t Crc16(uint16_t crc, const void* data, size_t size);

} // namespace unlha
