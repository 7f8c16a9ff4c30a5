// Sound-only files told by their first bytes.
#include <gtest/gtest.h>

#include <string>

#include "wmp/logic/MediaHeader.h"

TEST(MediaHeader, SoundOnlyContainersAreToldByTheirFirstBytes)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool soundOnly;
    };
    const Case cases[] = {
        {"RIFF WAVE", std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16), true},
        {"RIFF AVI",
         std::string("RIFF\x24\x00\x00\x00"
                     "AVI LIST",
                     16),
         false},
        {"MP3 with an ID3 tag", "ID3\x03", true},
        {"MP3 frame", std::string("\xFF\xFB\x90\x00", 4), true},
        {"reserved MPEG layer", std::string("\xFF\xF9\x90\x00", 4), false},
        {"AIFF",
         std::string("FORM\x00\x00\x00\x10"
                     "AIFF",
                     12),
         true},
        {"MIDI", "MThd\x00\x00\x00\x06", true},
        {"FLAC", "fLaC", true},
        {"ASF (may be a video)", std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8), false},
        {"text", "hello world!", false},
        {"too short", "RI", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsSoundOnlyHeader(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size()),
                  c.soundOnly);
    }
}

TEST(MediaHeader, ContainersOfPicturesAreToldByTheirFirstBytes)
{
    const std::string pictures[] = {
        std::string("RIFF\x24\x00\x00\x00"
                    "AVI LIST",
                    16),
        std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8),  // ASF
        std::string("\x00\x00\x01\xBA\x44\x00", 6),          // MPEG program stream
        std::string("\x00\x00\x00\x20"
                    "ftypisom",
                    12),
        std::string("\x1A\x45\xDF\xA3\x01", 5),  // Matroska
    };
    for (const std::string& bytes : pictures)
        EXPECT_TRUE(IsPictureContainerHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
            << ::testing::PrintToString(bytes);
    const std::string others[] = {
        std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16), "ID3\x03", "hello world!", std::string("\x00\x00\x01", 3),
        std::string("\x00\x00\x00\x20"
                    "ftyp",
                    8)
            .substr(0, 7),
    };
    for (const std::string& bytes : others)
        EXPECT_FALSE(IsPictureContainerHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
            << ::testing::PrintToString(bytes);
}
