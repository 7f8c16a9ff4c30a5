// The media keys: the four transport keys and commands, and nothing else.
#include <gtest/gtest.h>

#include "playback/logic/MediaKeys.h"

namespace {

TEST(MediaKeys, AppCommandsOfTheFourTransportKeys)
{
    EXPECT_EQ(MediaKeyForAppCommand(14), MediaKey::PlayPause);
    EXPECT_EQ(MediaKeyForAppCommand(13), MediaKey::Stop);
    EXPECT_EQ(MediaKeyForAppCommand(11), MediaKey::Next);
    EXPECT_EQ(MediaKeyForAppCommand(12), MediaKey::Previous);
    // Volume down, mute and up, browser back, play and pause alone: not ours.
    for (int other : {0, 1, 8, 9, 10, 15, 46, 47})
        EXPECT_EQ(MediaKeyForAppCommand(other), MediaKey::None) << other;
}

TEST(MediaKeys, VirtualKeysOfTheFourTransportKeys)
{
    EXPECT_EQ(MediaKeyForVirtualKey(0xB3), MediaKey::PlayPause);
    EXPECT_EQ(MediaKeyForVirtualKey(0xB2), MediaKey::Stop);
    EXPECT_EQ(MediaKeyForVirtualKey(0xB0), MediaKey::Next);
    EXPECT_EQ(MediaKeyForVirtualKey(0xB1), MediaKey::Previous);
    for (unsigned volume : {0xADu, 0xAEu, 0xAFu, 0x20u, 0xB4u})
        EXPECT_EQ(MediaKeyForVirtualKey(volume), MediaKey::None) << volume;
}

TEST(MediaKeys, HotKeysAreTheFourTransportKeysOnly)
{
    int count = 0;
    for (unsigned key : kMediaHotKeyCodes) {
        EXPECT_NE(MediaKeyForVirtualKey(key), MediaKey::None) << key;
        ++count;
    }
    EXPECT_EQ(count, 4);
}

} // namespace
