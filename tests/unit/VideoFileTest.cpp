// Which paths count as videos: the suffix from the first dot, tested against video prefixes.
#include <gtest/gtest.h>

#include "playback/logic/VideoFile.h"

namespace {

struct Case {
    const char* path;
    bool video;
};

TEST(VideoFile, ClassifiesBySuffix)
{
    const Case cases[] = {
        {"D:\\clips\\a.AVI", true},
        {"D:\\music\\b.mp3", false},
        {"D:\\my.songs\\c.avi", false},  // the suffix starts at the directory's dot
        {"x.mpg", true},
        {"x.mpga", false},
        {"x.MPGA", false},
        {"x.wmv", true},
        {"x.wma", false},
        {"x.WMA", false},
        {"x.wvx", true},
        {"x.mpeg", true},
        {"x.mpa", true},
        {"x.mpe", true},
        {"x.mlv", true},
        {"x.mp2", true},
        {"x.mpv2", true},
        {"x.mp2v", true},
        {"x.aif", true},
        {"x.aifc", true},
        {"x.AIFF", true},
        {"x.dat", true},
        {"x.asf", true},
        {"x.asx", true},
        {"x.wpl", true},
        {"x.wm", true},
        {"x.wmx", true},
        {"x.wmz", true},
        {"x.wmd", true},        // begins with ".wm" and is not ".wma"
        {"x.WmV", true},
        {"x.wav", false},
        {"x.mid", false},
        {"x.cda", false},
        {"x.mp4", false},
        {"x.mov", false},
        {"x.mpeg4", true},      // prefix tests accept longer suffixes
        {"x.avi.mp3", true},    // only the first dot counts
        {"x.mp3.avi", false},
        {"x.wmv.wma", true},    // ".wmv" is tested before the ".wma" exclusion
        {"x.wmd.wma", false},   // ".wm" excluded by a ".wma" anywhere
        {"x.mpg.mpga", false},
        {"D:\\v1.0\\clip.avi", false},
        {"noextension", false},
        {"avi", false},
        {"", false},
        {".avi", true},         // a path starting with a dot is tested whole
        {".mp3", false},
        {".", false},
        {"x.", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.video, IsVideoFile(c.path)) << c.path;
}

TEST(VideoFile, ChineseNames)
{
    const Case cases[] = {
        {"D:\\视频\\电影.AVI", true},
        {"D:\\音乐\\歌曲.mp3", false},
        {"D:\\音乐.集\\歌.avi", false},
        {"D:\\乗誠\\片.wmv", true},      // 0x5C trail bytes in the folder name
        {"D:\\丄乂\\片.WMV", true},      // trail bytes 'A' and 'V' are not letters of their own
        {"D:\\丄乂.WMA", false},
        {"片.Mpg", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.video, IsVideoFile(c.path)) << c.path;
}

}  // namespace
