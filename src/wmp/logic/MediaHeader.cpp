// The first bytes of sound-only files.
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
