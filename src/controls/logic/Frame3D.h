// Colours of the one-pixel three-dimensional border of the hover colour button.
#pragma once

#include <cstdint>

// Colours are COLORREF values, 0x00BBGGRR; greys of depth 2 or more carry the palette-relative
// flag 0x02000000.
struct Frame3DColors {
    std::uint32_t topLeft;
    std::uint32_t bottomRight;
};

// Positive depth is raised (light top and left), negative sunken, 0 a black ring.
Frame3DColors Frame3DColorsForDepth(int depth);
