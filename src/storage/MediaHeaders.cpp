// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/MediaHeaders.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::size_t FileHeaderBytes = 14;
constexpr std::size_t CoreHeaderBytes = 12; // the old OS/2 header with 16-bit sizes
constexpr std::size_t InfoHeaderBytes = 40;
constexpr std::uint32_t Uncompressed = 0;
constexpr std::uint32_t Bitfields = 3;
constexpr std::uint64_t MaxSide = 1 << 16;

std::uint32_t le(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

} // namespace

bool BmpComplete(const std::string& bytes) {
    if (bytes.size() < FileHeaderBytes + CoreHeaderBytes || bytes.compare(0, 2, "BM") != 0)
        return false;
    const std::uint64_t dataOffset = le(bytes, 10, 4);
    const std::uint32_t headerSize = le(bytes, 14, 4);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = Uncompressed;
    std::uint64_t imageSize = 0;
    if (headerSize == CoreHeaderBytes) {
        width = le(bytes, 18, 2);
        height = le(bytes, 20, 2);
        bitCount = le(bytes, 24, 2);
    } else if (headerSize >= InfoHeaderBytes && bytes.size() >= FileHeaderBytes + InfoHeaderBytes) {
        width = static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(le(bytes, 18, 4))));
        height = static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(le(bytes, 22, 4))));
        bitCount = le(bytes, 28, 2);
        compression = le(bytes, 30, 4);
        imageSize = le(bytes, 34, 4);
    } else {
        return false;
    }
    if (width == 0 || height == 0 || width > MaxSide || height > MaxSide || bitCount == 0 || bitCount > 32 ||
        dataOffset < FileHeaderBytes + headerSize)
        return false;
    std::uint64_t pixelBytes = imageSize;
    if (compression == Uncompressed || compression == Bitfields)
        pixelBytes = (width * bitCount + 31) / 32 * 4 * height;
    else if (imageSize == 0)
        return false;
    return dataOffset + pixelBytes <= bytes.size();
}

bool WaveComplete(const std::string& bytes) {
    constexpr std::size_t RiffHeaderBytes = 12;
    constexpr std::size_t ChunkHeaderBytes = 8;
    if (bytes.size() < RiffHeaderBytes || bytes.compare(0, 4, "RIFF") != 0 ||
        bytes.compare(8, 4, "WAVE") != 0)
        return false;
    bool format = false;
    for (std::size_t at = RiffHeaderBytes; at + ChunkHeaderBytes <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::uint64_t size = le(bytes, at + 4, 4);
        const std::uint64_t end = at + ChunkHeaderBytes + size;
        if (end > bytes.size())
            return false;
        if (id == "fmt ")
            format = true;
        else if (id == "data")
            return format;
        at = static_cast<std::size_t>(end + (size & 1)); // chunks are padded to even sizes
    }
    return false;
}
