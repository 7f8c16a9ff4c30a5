// Double-byte aware byte searches over GBK narrow strings.
#include "framework/logic/Dbcs.h"

namespace {

// Byte length of the character starting at i: 2 for a lead byte that has a byte after it.
std::string::size_type CharLength(const std::string& s, std::string::size_type i)
{
    return IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

}  // namespace

bool IsGbkLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

std::string::size_type FindCharDbcs(const std::string& s, char c, std::string::size_type from)
{
    // Character boundaries are only known from the start of the string.
    for (std::string::size_type i = 0; i < s.size(); i += CharLength(s, i)) {
        if (i >= from && s[i] == c)
            return i;
    }
    return std::string::npos;
}

std::string::size_type FindStringDbcs(const std::string& s, const std::string& needle,
                                      std::string::size_type from)
{
    if (needle.size() > s.size())
        return std::string::npos;
    const std::string::size_type last = s.size() - needle.size();
    for (std::string::size_type i = 0; i <= last; i += (i < s.size() ? CharLength(s, i) : 1)) {
        if (i >= from && s.compare(i, needle.size(), needle) == 0)
            return i;
    }
    return std::string::npos;
}

std::string::size_type DbcsPrefixLength(const std::string& s, std::string::size_type maxBytes)
{
    std::string::size_type end = 0;
    while (end < s.size()) {
        const std::string::size_type next = end + CharLength(s, end);
        if (next > maxBytes)
            break;
        end = next;
    }
    return end;
}
