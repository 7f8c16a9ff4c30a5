// Files from outside: which names a folder plays, in which order, and the hand-over block.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "playback/logic/ArgumentPaths.h"

namespace {

TEST(ArgumentPaths, PlaysTheOpenDialogsMediaTypesInAnyCase)
{
    struct Case {
        const wchar_t* name;
        bool playable;
    };
    const Case cases[] = {
        {L"a.wav", true},       {L"A.WAV", true},      {L"song.Mp3", true},   {L"clip.avi", true},
        {L"x.asf", true},       {L"film.mpeg", true},  {L"tune.MID", true},   {L"voice.mpga", true},
        {L"Track01.cda", true}, {L"notes.txt", false}, {L"cover.jpg", false}, {L"wav", false},
        {L"a.wav.txt", false},  {L"film.mpg", false},  {L"a.wave", false},    {L"\xC548\xB155.wav", true},
        {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlayableName(c.name), c.playable) << std::string(c.name, c.name + wcslen(c.name));
}

TEST(ArgumentPaths, SortsNamesAsAListingByNameWithoutCase)
{
    std::vector<std::wstring> names = {L"c.wav", L"B.wav",  L"a.wav", L"a1.wav",
                                       L"A.wav", L"10.wav", L"2.wav"};
    SortByName(names);
    const std::vector<std::wstring> expected = {L"10.wav", L"2.wav", L"A.wav", L"a.wav",
                                                L"a1.wav", L"B.wav", L"c.wav"};
    EXPECT_EQ(names, expected);
}

TEST(ArgumentPaths, BlockCarriesEveryPathInOrder)
{
    const std::vector<std::wstring> paths = {L"C:\\music\\a b.wav", L"Z:\\tmp\\\xD55C.wav", L"D:\\x"};
    const std::vector<wchar_t> block = PackPathList(paths);
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block[block.size() - 1], L'\0');
    EXPECT_EQ(block[block.size() - 2], L'\0');
    EXPECT_EQ(UnpackPathList(block.data(), block.size()), paths);
}

TEST(ArgumentPaths, EmptyBlockMeansNoFiles)
{
    const std::vector<wchar_t> block = PackPathList({});
    EXPECT_EQ(block.size(), 1u);
    EXPECT_TRUE(UnpackPathList(block.data(), block.size()).empty());
    EXPECT_TRUE(UnpackPathList(nullptr, 5).empty());
    EXPECT_TRUE(UnpackPathList(block.data(), 0).empty());
}

TEST(ArgumentPaths, ABlockIsBoundedByItsLength)
{
    const wchar_t raw[] = {L'a', L'\0', L'\0', L'b', L'c', L'\0', L'd', L'e'};
    // Empty entries are dropped; the last entry lacks its zero and still counts.
    const std::vector<std::wstring> expected = {L"a", L"bc", L"de"};
    EXPECT_EQ(UnpackPathList(raw, sizeof raw / sizeof raw[0]), expected);
    const std::vector<std::wstring> cut = {L"a", L"b"};
    EXPECT_EQ(UnpackPathList(raw, 4), cut);
}

} // namespace
