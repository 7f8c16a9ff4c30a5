// The first bytes of sound-only files and of containers of pictures.
#include "wmp/logic/MediaHeader.h"

#include <cstring>

namespace {

bool StartsWith(const std::uint8_t* bytes, std::size_t size, std::size_t at, const char* text)
{
    const std::size_t length = std::strlen(text);
    return size >= at + length && std::memcmp(bytes + at, text, length) == 0;
}

} // namespace

bool IsSoundOnlyHeader(const std::uint8_t* bytes, std::size_t size)
{
    if (!bytes)
        return false;
    if (StartsWith(bytes, size, 0, "RIFF"))
        return StartsWith(bytes, size, 8, "WAVE") || StartsWith(bytes, size, 8, "RMID");
    if (StartsWith(bytes, size, 0, "FORM"))
        return StartsWith(bytes, size, 8, "AIFF") || StartsWith(bytes, size, 8, "AIFC");
    if (StartsWith(bytes, size, 0, "ID3") || StartsWith(bytes, size, 0, "fLaC") ||
        StartsWith(bytes, size, 0, "MThd") || StartsWith(bytes, size, 0, ".snd"))
        return true;
    // An MPEG audio frame: eleven set sync bits, then a layer other than the reserved 0.
    return size >= 2 && bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0 && (bytes[1] & 0x06) != 0;
}

bool IsPictureContainerHeader(const std::uint8_t* bytes, std::size_t size)
{
    if (!bytes || IsSoundOnlyHeader(bytes, size))
        return false;
    static const std::uint8_t kAsf[] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11};
    static const std::uint8_t kMatroska[] = {0x1A, 0x45, 0xDF, 0xA3};
    auto startsWithBytes = [&](const std::uint8_t* magic, std::size_t length) {
        return size >= length && std::memcmp(bytes, magic, length) == 0;
    };
    if (StartsWith(bytes, size, 0, "RIFF"))
        return StartsWith(bytes, size, 8, "AVI ");
    if (startsWithBytes(kAsf, sizeof kAsf) || startsWithBytes(kMatroska, sizeof kMatroska) ||
        StartsWith(bytes, size, 0, ".RMF"))
        return true;
    // An MPEG pack header or sequence header.
    if (size >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && (bytes[3] == 0xBA || bytes[3] == 0xB3))
        return true;
    // A QuickTime or MP4 atom of its first kinds, after the atom's size.
    return StartsWith(bytes, size, 4, "ftyp") || StartsWith(bytes, size, 4, "moov") ||
           StartsWith(bytes, size, 4, "mdat") || StartsWith(bytes, size, 4, "wide");
}
