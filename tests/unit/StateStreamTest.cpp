// The Media Player control's initial state stream and the resource record that carries it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "wmp/logic/StateStream.h"

namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// The stream's values as the control persists them, in order: type and value (strings and
// the unnamed entry are always empty).
struct Expected {
    const char* name;
    std::uint16_t type;
    double value;
};

const Expected kExpected[] = {
    {"AudioStream", 3, -1},
    {"AutoSize", 11, 0},
    {"AutoStart", 11, 1},
    {"AnimationAtStart", 11, 1},
    {"AllowScan", 11, 1},
    {"AllowChangeDisplaySize", 11, 1},
    {"", 0, 0},
    {"AutoRewind", 11, 0},
    {"Balance", 3, 0},
    {"BaseURL", 8, 0},
    {"BufferingTime", 5, 5.0},
    {"CaptioningID", 8, 0},
    {"ClickToPlay", 11, 1},
    {"CursorType", 3, 0},
    {"CurrentPosition", 5, -1.0},
    {"CurrentMarker", 3, 0},
    {"DefaultFrame", 8, 0},
    {"DisplayBackColor", 19, 0x000000},
    {"DisplayForeColor", 19, 0xFFFFFF},
    {"DisplayMode", 3, 0},
    {"DisplaySize", 3, 4},
    {"Enabled", 11, 1},
    {"EnableContextMenu", 11, 1},
    {"EnablePositionControls", 11, 1},
    {"EnableFullScreenControls", 11, 0},
    {"EnableTracker", 11, 1},
    {"FileName", 8, 0},
    {"InvokeURLs", 11, 1},
    {"Language", 3, -1},
    {"Mute", 11, 0},
    {"PlayCount", 3, 1},
    {"PreviewMode", 11, 0},
    {"Rate", 5, 1.0},
    {"SAMILang", 8, 0},
    {"SAMIStyle", 8, 0},
    {"SAMIFileName", 8, 0},
    {"SelectionStart", 5, -1.0},
    {"SelectionEnd", 5, -1.0},
    {"SendOpenStateChangeEvents", 11, 1},
    {"SendWarningEvents", 11, 1},
    {"SendErrorEvents", 11, 1},
    {"SendKeyboardEvents", 11, 0},
    {"SendMouseClickEvents", 11, 0},
    {"SendMouseMoveEvents", 11, 0},
    {"SendPlayStateChangeEvents", 11, 1},
    {"ShowCaptioning", 11, 0},
    {"ShowControls", 11, 1},
    {"ShowAudioControls", 11, 1},
    {"ShowDisplay", 11, 0},
    {"ShowGotoBar", 11, 0},
    {"ShowPositionControls", 11, 1},
    {"ShowStatusBar", 11, 0},
    {"ShowTracker", 11, 1},
    {"TransparentAtStart", 11, 0},
    {"VideoBorderWidth", 3, 0},
    {"VideoBorderColor", 19, 0},
    {"VideoBorder3D", 11, 0},
    {"Volume", 3, -600},
    {"WindowlessVideo", 11, 0},
};

TEST(StateStream, Is340Bytes)
{
    EXPECT_EQ(340u, BuildInitialStateStream().size());
    EXPECT_EQ(kInitialStateStreamSize, BuildInitialStateStream().size());
}

TEST(StateStream, StartsWithTheHeaderWords)
{
    const std::vector<std::uint8_t> s = BuildInitialStateStream();
    EXPECT_EQ(0u, U32At(s, 0));
    EXPECT_EQ(1u, U32At(s, 4));
    EXPECT_EQ(3810u, U32At(s, 8));   // 144 pixels in 0.01 mm at 96 dpi
    EXPECT_EQ(2408u, U32At(s, 12));  // 91 pixels
}

TEST(StateStream, CarriesTheTaggedValuesInOrder)
{
    const std::vector<std::uint8_t> s = BuildInitialStateStream();
    std::size_t at = 16;
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.name);
        ASSERT_LE(at + 2, s.size());
        ASSERT_EQ(e.type, U16At(s, at));
        at += 2;
        switch (e.type) {
        case 3:
            EXPECT_EQ(static_cast<std::int32_t>(e.value), static_cast<std::int32_t>(U32At(s, at)));
            at += 4;
            break;
        case 19:
            EXPECT_EQ(static_cast<std::uint32_t>(e.value), U32At(s, at));
            at += 4;
            break;
        case 11:
            EXPECT_EQ(e.value != 0 ? 0xFFFF : 0x0000, U16At(s, at));
            at += 2;
            break;
        case 5: {
            double d;
            std::uint64_t bits = U32At(s, at) | static_cast<std::uint64_t>(U32At(s, at + 4)) << 32;
            std::memcpy(&d, &bits, sizeof d);
            EXPECT_EQ(e.value, d);
            at += 8;
            break;
        }
        case 8:
        case 0:
            EXPECT_EQ(2u, U32At(s, at));
            EXPECT_EQ(0u, U16At(s, at + 4));
            at += 6;
            break;
        default:
            FAIL() << "unexpected type";
        }
    }
    EXPECT_EQ(s.size(), at);
}

TEST(StateStream, PropertyTableNamesEveryValue)
{
    std::size_t count = 0;
    const StatePropertyInfo* info = StateStreamProperties(count);
    ASSERT_EQ(std::size(kExpected), count);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_STREQ(kExpected[i].name, info[i].name) << i;
        EXPECT_EQ(kExpected[i].type, static_cast<std::uint16_t>(info[i].type)) << i;
    }
}

TEST(StateStream, ParsesBackToTheInitialState)
{
    const std::vector<std::uint8_t> s = BuildInitialStateStream();
    PlayerInitialState state;
    state.volume = 12345;
    state.autoStart = false;
    ASSERT_TRUE(ParseStateStream(s.data(), s.size(), state));
    EXPECT_EQ(0u, state.headerWord0);
    EXPECT_EQ(1u, state.headerWord1);
    EXPECT_EQ(3810, state.extentX);
    EXPECT_EQ(2408, state.extentY);
    EXPECT_EQ(-1, state.audioStream);
    EXPECT_TRUE(state.autoStart);
    EXPECT_FALSE(state.autoSize);
    EXPECT_FALSE(state.mute);
    EXPECT_TRUE(state.showControls);
    EXPECT_TRUE(state.enabled);
    EXPECT_FALSE(state.autoRewind);
    EXPECT_EQ(-600, state.volume);
    EXPECT_EQ(0, state.balance);
    EXPECT_EQ(1, state.playCount);
    EXPECT_EQ(1.0, state.rate);
    EXPECT_EQ(5.0, state.bufferingTime);
    EXPECT_EQ(-1.0, state.currentPosition);
    EXPECT_EQ(-1.0, state.selectionEnd);
    EXPECT_EQ(0x000000u, state.displayBackColor);
    EXPECT_EQ(0xFFFFFFu, state.displayForeColor);
    EXPECT_EQ(4, state.displaySize);
    EXPECT_EQ(-1, state.language);
    EXPECT_EQ("", state.fileName);
    EXPECT_TRUE(state.sendPlayStateChangeEvents);
    EXPECT_FALSE(state.windowlessVideo);
}

TEST(StateStream, RoundTripsOtherValues)
{
    PlayerInitialState in;
    in.volume = -1000;
    in.mute = true;
    in.rate = 1.5;
    in.fileName = "D:\\音乐\\歌.mp3";
    in.displayBackColor = 0x00FF8000;
    in.extentX = 100;
    in.windowlessVideo = true;
    const std::vector<std::uint8_t> s = SerializeStateStream(in);
    EXPECT_EQ(340u + in.fileName.size(), s.size());
    PlayerInitialState out;
    ASSERT_TRUE(ParseStateStream(s.data(), s.size(), out));
    EXPECT_EQ(-1000, out.volume);
    EXPECT_TRUE(out.mute);
    EXPECT_EQ(1.5, out.rate);
    EXPECT_EQ(in.fileName, out.fileName);
    EXPECT_EQ(0x00FF8000u, out.displayBackColor);
    EXPECT_EQ(100, out.extentX);
    EXPECT_TRUE(out.windowlessVideo);
    EXPECT_EQ(SerializeStateStream(out), s);
}

TEST(StateStream, RejectsTruncatedData)
{
    const std::vector<std::uint8_t> s = BuildInitialStateStream();
    for (std::size_t size = 0; size < s.size(); ++size) {
        // A copy of exactly size bytes, so that any read past the end is an overflow.
        std::vector<std::uint8_t> cut(s.begin(), s.begin() + size);
        PlayerInitialState state;
        state.volume = 7;
        EXPECT_FALSE(ParseStateStream(cut.data(), cut.size(), state)) << size;
        EXPECT_EQ(7, state.volume) << "left untouched at " << size;
    }
    PlayerInitialState state;
    EXPECT_FALSE(ParseStateStream(nullptr, 0, state));
    EXPECT_FALSE(ParseStateStream(nullptr, 340, state));
}

TEST(StateStream, RejectsMalformedData)
{
    const std::vector<std::uint8_t> good = BuildInitialStateStream();
    const struct {
        const char* name;
        std::size_t at;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"wrong type of the first value", 16, {5, 0}},
        {"Boolean where an integer belongs", 16, {11, 0}},
        {"unknown type", 16, {0x42, 0}},
        // The type-0 entry sits after AudioStream (2 + 4) and five Booleans (5 * 4): at 42.
        {"string count past the end", 44, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"string count too small for its terminator", 44, {1, 0, 0, 0}},
        {"string count of zero", 44, {0, 0, 0, 0}},
        {"string without its zero terminator", 48, {'x', 0}},
    };
    ASSERT_EQ(0u, U16At(good, 42));
    ASSERT_EQ(2u, U32At(good, 44));
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bad = good;
        std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + c.at);
        PlayerInitialState state;
        EXPECT_FALSE(ParseStateStream(bad.data(), bad.size(), state)) << c.name;
    }
    std::vector<std::uint8_t> longer = good;
    longer.push_back(0);
    PlayerInitialState state;
    EXPECT_FALSE(ParseStateStream(longer.data(), longer.size(), state)) << "trailing byte";
}

TEST(DialogInitResource, HoldsOneRecordAndTheTerminator)
{
    const std::vector<std::uint8_t> stream = BuildInitialStateStream();
    const std::vector<std::uint8_t> r = BuildDialogInitResource(1025, stream);
    ASSERT_EQ(350u, r.size());
    EXPECT_EQ(kDialogInitResourceSize, r.size());
    EXPECT_EQ(1025u, U16At(r, 0));
    EXPECT_EQ(0x0376u, U16At(r, 2));
    EXPECT_EQ(340u, U32At(r, 4));
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), r.begin() + 8));
    EXPECT_EQ(0u, U16At(r, 348));
    const std::vector<std::uint8_t> head(r.begin(), r.begin() + 8);
    EXPECT_EQ((std::vector<std::uint8_t>{0x01, 0x04, 0x76, 0x03, 0x54, 0x01, 0x00, 0x00}), head);
}

// The source tree's root: QUON_ROOT if set, otherwise the nearest directory at or above the
// current one that has src/res.
std::string SourceRoot()
{
    if (const char* root = std::getenv("QUON_ROOT"))
        return root;
    std::error_code error;
    std::filesystem::path dir = std::filesystem::current_path(error);
    for (; !error && !dir.empty(); dir = dir.parent_path()) {
        std::error_code missing;  // a missing folder is not an error here
        if (std::filesystem::is_directory(dir / "src" / "res", missing))
            return dir.string();
        if (dir == dir.parent_path())
            break;
    }
    return std::string();
}

TEST(DialogInitResource, FileInTheResourcesMatches)
{
    const std::string root = SourceRoot();
    ASSERT_FALSE(root.empty()) << "run from inside the source tree or set QUON_ROOT";
    std::ifstream file(root + "/src/res/dlginit159.bin", std::ios::binary);
    ASSERT_TRUE(file) << root << "/src/res/dlginit159.bin";
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    EXPECT_EQ(BuildDialogInitResource(kMediaPlayerControlId, BuildInitialStateStream()), bytes);
}

}  // namespace
