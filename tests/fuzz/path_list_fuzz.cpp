// Files from outside: the block of paths another start of the program hands over is read within
// its length whatever it holds, and written back to the same paths; the media-type test ignores
// the case of ASCII letters; the order by name does not depend on the order names came in.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "playback/logic/ArgumentPaths.h"

namespace {

// Windows characters are 16 bits wide; the native build's are wider, so each takes two bytes.
std::wstring WideText(FuzzedDataProvider& input, std::size_t maxChars)
{
    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, maxChars);
    std::wstring text;
    for (std::size_t i = 0; i < count && input.remaining_bytes() >= 2; ++i)
        text.push_back(static_cast<wchar_t>(input.ConsumeIntegral<std::uint16_t>()));
    return text;
}

std::wstring FlipAsciiCase(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        else if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

void CheckBlock(const std::vector<wchar_t>& block)
{
    const std::vector<std::wstring> paths = UnpackPathList(block.data(), block.size());
    std::size_t chars = 0;
    for (const std::wstring& path : paths) {
        FUZZ_CHECK(!path.empty());
        FUZZ_CHECK(path.find(L'\0') == std::wstring::npos);
        chars += path.size() + 1;
    }
    FUZZ_CHECK(chars <= block.size() + 1); // the last entry may lack its zero
    const std::vector<wchar_t> again = PackPathList(paths);
    FUZZ_CHECK(UnpackPathList(again.data(), again.size()) == paths);
    FUZZ_CHECK(UnpackPathList(nullptr, block.size()).empty());
}

void CheckPaths(const std::vector<std::wstring>& paths)
{
    std::vector<std::wstring> kept;
    for (const std::wstring& p : paths) {
        if (!p.empty() && p.find(L'\0') == std::wstring::npos)
            kept.push_back(p);
    }
    const std::vector<wchar_t> block = PackPathList(kept);
    FUZZ_CHECK(!block.empty() && block.back() == L'\0');
    FUZZ_CHECK(UnpackPathList(block.data(), block.size()) == kept);
}

void CheckOrder(std::vector<std::wstring> names)
{
    std::vector<std::wstring> sorted = names;
    SortByName(sorted);
    std::vector<std::wstring> a = names, b = sorted;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    FUZZ_CHECK(a == b); // the same names, only their order changes
    std::vector<std::wstring> reversed(names.rbegin(), names.rend());
    SortByName(reversed);
    FUZZ_CHECK(reversed == sorted);
    SortByName(sorted);
    FUZZ_CHECK(reversed == sorted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::wstring name = WideText(input, 300);
    FUZZ_CHECK(IsPlayableName(name) == IsPlayableName(FlipAsciiCase(name)));

    std::vector<std::wstring> names;
    const int count = input.ConsumeIntegralInRange(0, 16);
    for (int i = 0; i < count; ++i)
        names.push_back(WideText(input, 40));
    CheckPaths(names);
    CheckOrder(names);

    std::vector<wchar_t> block;
    while (input.remaining_bytes() >= 2)
        block.push_back(static_cast<wchar_t>(input.ConsumeIntegral<std::uint16_t>()));
    CheckBlock(block);
    return 0;
}
