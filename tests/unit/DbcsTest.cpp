// Double-byte aware searches: trail bytes that look like '\\' or letters are never matched.
#include <gtest/gtest.h>

#include "framework/logic/Dbcs.h"

namespace {

// "乗" and "誠" are GBK characters whose trail byte is 0x5C, the backslash.
const std::string kBackslashTrail = "乗誠";

TEST(DbcsLeadByte, CoversTheGbkLeadRange)
{
    EXPECT_FALSE(IsGbkLeadByte(0x00));
    EXPECT_FALSE(IsGbkLeadByte(0x5C));
    EXPECT_FALSE(IsGbkLeadByte(0x7F));
    EXPECT_FALSE(IsGbkLeadByte(0x80));
    EXPECT_TRUE(IsGbkLeadByte(0x81));
    EXPECT_TRUE(IsGbkLeadByte(0xB1));
    EXPECT_TRUE(IsGbkLeadByte(0xFE));
    EXPECT_FALSE(IsGbkLeadByte(0xFF));
}

TEST(DbcsFindChar, SkipsTrailBytesThatLookLikeTheCharacter)
{
    ASSERT_EQ(std::string("\x81\x5C\xD5\x5C"), kBackslashTrail);
    EXPECT_EQ(std::string::npos, FindCharDbcs(kBackslashTrail, '\\'));
    EXPECT_EQ(4u, FindCharDbcs(kBackslashTrail + "\\x", '\\'));
    EXPECT_EQ(3u, FindCharDbcs("a\x81" "A" "A", 'A'));  // the first 'A' is a trail byte
}

TEST(DbcsFindChar, StartsAtTheGivenIndex)
{
    const std::string s = "a\\b\\c";
    EXPECT_EQ(1u, FindCharDbcs(s, '\\'));
    EXPECT_EQ(1u, FindCharDbcs(s, '\\', 1));
    EXPECT_EQ(3u, FindCharDbcs(s, '\\', 2));
    EXPECT_EQ(std::string::npos, FindCharDbcs(s, '\\', 4));
    EXPECT_EQ(std::string::npos, FindCharDbcs(s, '\\', 100));
    // Starting inside a character does not turn its trail byte into a match.
    EXPECT_EQ(4u, FindCharDbcs(kBackslashTrail + "\\", '\\', 1));
}

TEST(DbcsFindChar, LoneLeadByteAtTheEndIsOneByte)
{
    EXPECT_EQ(std::string::npos, FindCharDbcs("ab\x81", '\\'));
    EXPECT_EQ(2u, FindCharDbcs("ab\x81", '\x81'));
    EXPECT_EQ(std::string::npos, FindCharDbcs("", 'a'));
}

TEST(DbcsFindString, MatchesOnlyOnCharacterBoundaries)
{
    EXPECT_EQ(0u, FindStringDbcs("**a", "**"));
    EXPECT_EQ(1u, FindStringDbcs("a**b**", "**"));
    EXPECT_EQ(4u, FindStringDbcs("a**b**", "**", 2));
    EXPECT_EQ(std::string::npos, FindStringDbcs("a*", "**"));
    EXPECT_EQ(std::string::npos, FindStringDbcs("", "**"));
    // "\x81\x41" is one character: its trail byte 'A' never starts a match.
    EXPECT_EQ(std::string::npos, FindStringDbcs("x\x81" "Ab", "Ab"));
    EXPECT_EQ(3u, FindStringDbcs("x\x81" "AAb", "Ab"));
    EXPECT_EQ(0u, FindStringDbcs("abc", ""));
}

TEST(DbcsPrefix, NeverKeepsHalfACharacter)
{
    EXPECT_EQ(3u, DbcsPrefixLength("abcdef", 3));
    EXPECT_EQ(2u, DbcsPrefixLength("abc", 2));
    EXPECT_EQ(3u, DbcsPrefixLength("abc", 20));
    EXPECT_EQ(4u, DbcsPrefixLength("你好吗", 5));
    EXPECT_EQ(6u, DbcsPrefixLength("你好吗", 6));
    EXPECT_EQ(3u, DbcsPrefixLength("a你好", 4));
    EXPECT_EQ(0u, DbcsPrefixLength("你", 1));
    EXPECT_EQ(0u, DbcsPrefixLength("", 1));
}

}  // namespace
