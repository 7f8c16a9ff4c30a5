// Fitting the status line's text into its box.
#include "player/logic/StatusText.h"

#include "framework/logic/Dbcs.h"

namespace {

// Below this length folder parts are kept; the box shows about 17 bytes of a name in full.
constexpr std::string::size_type kFolderCutLength = 18;
// Texts of this length or more lose their extension, and nothing past it is shown.
constexpr std::string::size_type kLineBytes = 20;

}  // namespace

void ShortenStatusText(std::string& text)
{
    std::string::size_type slash;
    while (text.size() >= kFolderCutLength &&
           (slash = FindCharDbcs(text, '\\')) != std::string::npos)
        text.erase(0, slash + 1);

    if (text.size() < kLineBytes)
        return;
    std::string::size_type dot;
    while (text.size() >= kLineBytes && (dot = FindCharDbcs(text, '.')) != std::string::npos &&
           dot > 0)
        text.erase(dot);
    // Keep 19 bytes rather than show half of a double-byte character at byte 20.
    if (text.size() > kLineBytes)
        text.erase(DbcsPrefixLength(text, kLineBytes));
}
