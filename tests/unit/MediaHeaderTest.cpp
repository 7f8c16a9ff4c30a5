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
