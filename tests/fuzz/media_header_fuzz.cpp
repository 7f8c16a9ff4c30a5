// Telling a sound-only file or a container of pictures by its first bytes: any bytes of any length are read within their
// length, and only the first twelve count.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "wmp/logic/MediaHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact copy, so that AddressSanitizer sees any read past the end.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const bool soundOnly = IsSoundOnlyHeader(bytes.data(), bytes.size());
    const bool pictures = IsPictureContainerHeader(bytes.data(), bytes.size());
    FUZZ_CHECK(!(soundOnly && pictures));
    if (size >= kMediaHeaderBytes) {
        const std::vector<std::uint8_t> head(data, data + kMediaHeaderBytes);
        FUZZ_CHECK(soundOnly == IsSoundOnlyHeader(head.data(), head.size()));
        FUZZ_CHECK(pictures == IsPictureContainerHeader(head.data(), head.size()));
    }
    FUZZ_CHECK(!IsSoundOnlyHeader(nullptr, 0));
    FUZZ_CHECK(!IsPictureContainerHeader(nullptr, 0));
    return 0;
}
