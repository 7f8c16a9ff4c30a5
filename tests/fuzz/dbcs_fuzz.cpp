// The double-byte aware searches: every index they give is a character start, no earlier character
// start matches, and a trail byte is never taken for a character of its own.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "framework/logic/Dbcs.h"

namespace {

const std::size_t kLongestText = 512;
const std::size_t npos = std::string::npos;

bool IsBoundary(const std::string& s, std::size_t at)
{
    return DbcsPrefixLength(s, at) == at;
}

void CheckPrefix(const std::string& s, std::size_t maxBytes)
{
    const std::size_t end = DbcsPrefixLength(s, maxBytes);
    FUZZ_CHECK(end <= maxBytes);
    FUZZ_CHECK(end <= s.size());
    FUZZ_CHECK(IsBoundary(s, end));
    // The longest such prefix: at most one double-byte character is left out.
    const std::size_t limit = maxBytes < s.size() ? maxBytes : s.size();
    FUZZ_CHECK(end + 1 >= limit);
    FUZZ_CHECK(DbcsPrefixLength(s, limit) == end);
    if (end < limit)
        FUZZ_CHECK(IsGbkLeadByte(static_cast<unsigned char>(s[end])));
}

void CheckFindChar(const std::string& s, char c, std::size_t from)
{
    const std::size_t found = FindCharDbcs(s, c, from);
    const std::size_t stop = found == npos ? s.size() : found;
    for (std::size_t i = from; i < stop && i < s.size(); ++i)
        FUZZ_CHECK(!(s[i] == c && IsBoundary(s, i)));
    if (found == npos)
        return;
    FUZZ_CHECK(found >= from);
    FUZZ_CHECK(found < s.size());
    FUZZ_CHECK(s[found] == c);
    FUZZ_CHECK(IsBoundary(s, found));
}

void CheckFindString(const std::string& s, const std::string& needle, std::size_t from)
{
    const std::size_t found = FindStringDbcs(s, needle, from);
    const std::size_t stop = found == npos ? s.size() + 1 : found;
    for (std::size_t i = from; i < stop && i + needle.size() <= s.size(); ++i)
        FUZZ_CHECK(!(IsBoundary(s, i) && s.compare(i, needle.size(), needle) == 0));
    if (needle.size() == 1)
        FUZZ_CHECK(found == FindCharDbcs(s, needle[0], from));
    if (found == npos)
        return;
    FUZZ_CHECK(found >= from);
    FUZZ_CHECK(found + needle.size() <= s.size());
    FUZZ_CHECK(s.compare(found, needle.size(), needle) == 0);
    FUZZ_CHECK(IsBoundary(s, found));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const char c = static_cast<char>(input.ConsumeIntegral<std::uint8_t>());
    const std::size_t from = input.ConsumeIntegralInRange<std::size_t>(0, kLongestText + 4);
    const std::size_t maxBytes = input.ConsumeIntegralInRange<std::size_t>(0, kLongestText + 4);
    const std::string needle = input.ConsumeRandomLengthString(8);
    const std::string s = input.ConsumeRandomLengthString(kLongestText);

    CheckPrefix(s, maxBytes);
    CheckPrefix(s, npos);
    CheckFindChar(s, c, from);
    CheckFindChar(s, c, 0);
    CheckFindChar(s, '\\', 0);
    CheckFindString(s, needle, from);
    CheckFindString(s, needle, 0);
    CheckFindString(s, "**", 0);
    return 0;
}
