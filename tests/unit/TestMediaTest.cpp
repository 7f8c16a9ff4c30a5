// The test videos read back as a player reads them: RIFF structure, headers, index, pictures, sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "../media/TestMedia.h"

namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::string Tag(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return std::string(reinterpret_cast<const char*>(&bytes[at]), 4);
}

struct Chunk {
    std::string tag;   // "LIST" chunks are named "LIST:type"
    std::size_t data;  // offset of the data (after the size field; after the type of a list)
    std::uint32_t size;
};

// The chunks directly inside [from, to), checked to fit and to be padded to even lengths.
std::vector<Chunk> ChunksIn(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to)
{
    std::vector<Chunk> chunks;
    std::size_t at = from;
    while (at + 8 <= to) {
        Chunk chunk{Tag(bytes, at), at + 8, Read32(bytes, at + 4)};
        EXPECT_LE(at + 8 + chunk.size, to) << chunk.tag << " runs past its parent";
        if (chunk.tag == "LIST") {
            chunk.tag += ":" + Tag(bytes, at + 8);
            chunk.data += 4;
            chunk.size -= 4;
        }
        chunks.push_back(chunk);
        at += 8 + Read32(bytes, at + 4);
        at += at % 2;
    }
    EXPECT_EQ(at, to) << "chunks fill their parent exactly";
    return chunks;
}

const Chunk* Find(const std::vector<Chunk>& chunks, const std::string& tag, int nth = 0)
{
    for (const Chunk& chunk : chunks)
        if (chunk.tag == tag && nth-- == 0)
            return &chunk;
    return nullptr;
}

// The colours of one frame's pixels (bottom-up rows of 24-bit BGR, padded to 4 bytes).
std::vector<std::uint32_t> FramePixels(const std::vector<std::uint8_t>& bytes, const Chunk& frame, int width,
                                       int height)
{
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = frame.data + static_cast<std::size_t>(y) * stride + x * 3;
            const std::uint32_t bgr = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16;
            pixels.push_back(bgr);
        }
    return pixels;
}

}  // namespace

TEST(TestVideo, RiffTreeHeadersAndIndexDescribeTheFrames)
{
    struct Case {
        const char* what;
        int frames, width, height, fps;
        bool sound;
    };
    const Case cases[] = {
        {"with sound", 12, 64, 48, 10, true},
        {"without sound", 5, 32, 24, 25, false},
        {"odd width: rows padded", 3, 33, 7, 24, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::uint8_t> avi = MakeVideoAvi(c.frames, c.width, c.height, c.fps, c.sound);
        ASSERT_GE(avi.size(), 12u);
        EXPECT_EQ(Tag(avi, 0), "RIFF");
        EXPECT_EQ(Read32(avi, 4), avi.size() - 8);
        EXPECT_EQ(Tag(avi, 8), "AVI ");
        const std::vector<Chunk> top = ChunksIn(avi, 12, avi.size());
        ASSERT_EQ(top.size(), 3u);
        EXPECT_EQ(top[0].tag, "LIST:hdrl");
        EXPECT_EQ(top[1].tag, "LIST:movi");
        EXPECT_EQ(top[2].tag, "idx1");

        const std::vector<Chunk> hdrl = ChunksIn(avi, top[0].data, top[0].data + top[0].size);
        const Chunk* avih = Find(hdrl, "avih");
        ASSERT_NE(avih, nullptr);
        EXPECT_EQ(avih->size, 56u);
        EXPECT_EQ(Read32(avi, avih->data), static_cast<std::uint32_t>(1000000 / c.fps));
        EXPECT_EQ(Read32(avi, avih->data + 12) & 0x10, 0x10u) << "has an index";
        EXPECT_EQ(Read32(avi, avih->data + 16), static_cast<std::uint32_t>(c.frames));
        const std::uint32_t streams = c.sound ? 2 : 1;
        EXPECT_EQ(Read32(avi, avih->data + 24), streams);
        EXPECT_EQ(Read32(avi, avih->data + 32), static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(Read32(avi, avih->data + 36), static_cast<std::uint32_t>(c.height));

        const Chunk* videoList = Find(hdrl, "LIST:strl", 0);
        ASSERT_NE(videoList, nullptr);
        const std::vector<Chunk> video = ChunksIn(avi, videoList->data, videoList->data + videoList->size);
        const Chunk* strh = Find(video, "strh");
        const Chunk* strf = Find(video, "strf");
        ASSERT_TRUE(strh && strf);
        EXPECT_EQ(Tag(avi, strh->data), "vids");
        EXPECT_EQ(Read32(avi, strh->data + 24), static_cast<std::uint32_t>(c.fps)) << "rate over scale 1";
        EXPECT_EQ(Read32(avi, strh->data + 32), static_cast<std::uint32_t>(c.frames));
        EXPECT_EQ(Read32(avi, strf->data), 40u) << "a BITMAPINFOHEADER";
        EXPECT_EQ(Read32(avi, strf->data + 4), static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(Read32(avi, strf->data + 8), static_cast<std::uint32_t>(c.height));
        EXPECT_EQ(Read16(avi, strf->data + 14), 24u);
        const std::uint32_t frameBytes = static_cast<std::uint32_t>(((c.width * 3 + 3) & ~3) * c.height);
        EXPECT_EQ(Read32(avi, strf->data + 20), frameBytes);

        const Chunk* soundList = Find(hdrl, "LIST:strl", 1);
        ASSERT_EQ(soundList != nullptr, c.sound);
        std::uint32_t soundFrames = 0;
        if (soundList) {
            const std::size_t end = soundList->data + soundList->size;
            const std::vector<Chunk> sound = ChunksIn(avi, soundList->data, end);
            const Chunk* sh = Find(sound, "strh");
            const Chunk* sf = Find(sound, "strf");
            ASSERT_TRUE(sh && sf);
            EXPECT_EQ(Tag(avi, sh->data), "auds");
            EXPECT_EQ(Read32(avi, sh->data + 24) / Read32(avi, sh->data + 20), 44100u) << "frames a second";
            soundFrames = Read32(avi, sh->data + 32);
            EXPECT_EQ(soundFrames, static_cast<std::uint32_t>(44100LL * c.frames / c.fps))
                << "as long as the video";
            EXPECT_EQ(Read16(avi, sf->data), 1u) << "PCM";
            EXPECT_EQ(Read16(avi, sf->data + 2), 2u);
            EXPECT_EQ(Read32(avi, sf->data + 4), 44100u);
            EXPECT_EQ(Read16(avi, sf->data + 12), 4u);
            EXPECT_EQ(Read16(avi, sf->data + 14), 16u);
        }

        // The data: one frame chunk each, each followed by its sound; the index points at each.
        const std::vector<Chunk> movi = ChunksIn(avi, top[1].data, top[1].data + top[1].size);
        ASSERT_EQ(movi.size(), static_cast<std::size_t>(c.frames) * streams);
        std::uint32_t soundBytes = 0;
        const Chunk& idx1 = top[2];
        ASSERT_EQ(idx1.size, movi.size() * 16);
        for (std::size_t i = 0; i < movi.size(); ++i) {
            const bool isVideo = i % streams == 0;
            EXPECT_EQ(movi[i].tag, isVideo ? "00db" : "01wb") << i;
            if (isVideo)
                EXPECT_EQ(movi[i].size, frameBytes) << i;
            else
                soundBytes += movi[i].size;
            const std::size_t entry = idx1.data + i * 16;
            EXPECT_EQ(Tag(avi, entry), movi[i].tag) << i;
            EXPECT_EQ(Read32(avi, entry + 4), 0x10u) << "key frame " << i;
            // Offsets count from the "movi" type field to the chunk's tag.
            EXPECT_EQ(top[1].data - 4 + Read32(avi, entry + 8), movi[i].data - 8) << i;
            EXPECT_EQ(Read32(avi, entry + 12), movi[i].size) << i;
        }
        EXPECT_EQ(soundBytes, soundFrames * 4) << "the sound chunks add up to the stream's length";
    }
}

TEST(TestVideo, PicturesChangeFromFrameToFrame)
{
    struct Case {
        const char* what;
        VideoPicture picture;
        std::size_t minColours;
    };
    const Case cases[] = {
        {"moving bars", VideoPicture::MovingBars, 8},
        {"colour halves", VideoPicture::ColourHalves, 2},
    };
    const int width = 64, height = 8, frames = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::uint8_t> avi = MakeVideoAvi(frames, width, height, 10, false, c.picture);
        const std::vector<Chunk> top = ChunksIn(avi, 12, avi.size());
        const std::vector<Chunk> movi = ChunksIn(avi, top[1].data, top[1].data + top[1].size);
        ASSERT_EQ(movi.size(), static_cast<std::size_t>(frames));
        std::vector<std::uint32_t> previous;
        for (const Chunk& frame : movi) {
            const std::vector<std::uint32_t> pixels = FramePixels(avi, frame, width, height);
            const std::set<std::uint32_t> colours(pixels.begin(), pixels.end());
            EXPECT_GE(colours.size(), c.minColours);
            EXPECT_NE(pixels, previous) << "each frame differs from the one before";
            previous = pixels;
        }
    }
    // The bars run sideways: every column keeps one colour from top to bottom.
    const std::vector<std::uint8_t> avi = MakeVideoAvi(2, width, height, 10, false);
    const std::vector<Chunk> top = ChunksIn(avi, 12, avi.size());
    const std::vector<Chunk> movi = ChunksIn(avi, top[1].data, top[1].data + top[1].size);
    const std::vector<std::uint32_t> pixels = FramePixels(avi, movi[0], width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 1; y < height; ++y)
            EXPECT_EQ(pixels[y * width + x], pixels[x]) << x << "," << y;
}

TEST(TestVideo, SoundTrackCarriesTheTone)
{
    const std::vector<std::uint8_t> avi = MakeVideoAvi(10, 16, 16, 10, true);
    const std::vector<Chunk> top = ChunksIn(avi, 12, avi.size());
    const std::vector<Chunk> movi = ChunksIn(avi, top[1].data, top[1].data + top[1].size);
    // Zero crossings of the left channel over the whole second of sound.
    int crossings = 0;
    int peak = 0;
    int last = 0;
    for (const Chunk& chunk : movi) {
        if (chunk.tag != "01wb")
            continue;
        for (std::size_t at = chunk.data; at < chunk.data + chunk.size; at += 4) {
            const int sample = static_cast<std::int16_t>(Read16(avi, at));
            EXPECT_EQ(sample, static_cast<std::int16_t>(Read16(avi, at + 2))) << "both channels alike";
            crossings += (last < 0 && sample >= 0) || (last >= 0 && sample < 0);
            peak = std::max(peak, sample < 0 ? -sample : sample);
            last = sample;
        }
    }
    EXPECT_NEAR(crossings / 2.0, kVideoToneHz, 2);
    EXPECT_NEAR(peak / 32767.0, kVideoToneAmplitude, 0.01);
}
