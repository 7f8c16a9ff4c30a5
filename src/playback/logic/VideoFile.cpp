// Deciding from a path's suffix whether a medium is a video.
#include "playback/logic/VideoFile.h"

#include "framework/logic/Dbcs.h"

namespace {

bool BeginsWith(const std::string& s, const char* prefix)
{
    return FindStringDbcs(s, prefix) == 0;
}

bool Contains(const std::string& s, const char* part)
{
    return FindStringDbcs(s, part) != std::string::npos;
}

// Lower-cases the single-byte letters; the trail byte of a double-byte character may look like
// a capital letter and is left alone.
void LowerSingleByteLetters(std::string& s)
{
    for (std::string::size_type i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsGbkLeadByte(c))
            ++i;
        else if (c >= 'A' && c <= 'Z')
            s[i] = static_cast<char>(c - 'A' + 'a');
    }
}

}  // namespace

bool IsVideoFile(std::string path)
{
    // The suffix starts at the first dot of the whole path, directory names included.
    const std::string::size_type dot = FindCharDbcs(path, '.');
    if (dot != std::string::npos && dot >= 1)
        path.erase(0, dot);
    LowerSingleByteLetters(path);

    static const char* const kLeading[] = {".wmv", ".wvx", ".mpeg", ".mpa", ".mpe",
                                           ".mlv", ".mp2", ".mpv2", ".mp2v"};
    for (const char* prefix : kLeading) {
        if (BeginsWith(path, prefix))
            return true;
    }
    if (BeginsWith(path, ".mpg") && !Contains(path, ".mpga"))  // .mpga is audio
        return true;
    static const char* const kMiddle[] = {".aif", ".aifc", ".aiff", ".dat",
                                          ".avi", ".asf",  ".asx",  ".wpl"};
    for (const char* prefix : kMiddle) {
        if (BeginsWith(path, prefix))
            return true;
    }
    if (BeginsWith(path, ".wm") && !Contains(path, ".wma"))  // .wma is audio
        return true;
    return BeginsWith(path, ".wmx") || BeginsWith(path, ".wmz");
}
