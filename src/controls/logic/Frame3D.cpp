// Colours of the hover button's three-dimensional border.
#include "controls/logic/Frame3D.h"

namespace {

constexpr std::uint32_t kPaletteRelative = 0x02000000;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kGrey128 = 0x00808080;
constexpr std::uint32_t kBlack = 0x00000000;

std::uint32_t PaletteGrey(std::uint32_t level)
{
    return kPaletteRelative | level << 16 | level << 8 | level;
}

}  // namespace

Frame3DColors Frame3DColorsForDepth(int depth)
{
    // Widened so that the most negative depth has a magnitude too.
    const long long wide = depth;
    const long long n = wide < 0 ? -wide : wide;

    Frame3DColors c{kBlack, kBlack};
    if (n == 1) {
        c = {kWhite, kGrey128};
    } else if (n >= 2) {
        c = {PaletteGrey(static_cast<std::uint32_t>(192 + 63 / n)),
             PaletteGrey(static_cast<std::uint32_t>(255 / (n + 1)))};
    }
    if (depth < 0)
        return {c.bottomRight, c.topLeft};
    return c;
}
