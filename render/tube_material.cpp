#include "render/tube_material.h"

void TubeMaterialColor(ColorRef cr, float rgba[4])
{
    // The product is in float on purpose: the material is handed to the
    // OpenGL as floats, and this is the rounding it is defined with.
    const float k = 1.0f / 255.0f;
    rgba[0] = static_cast<float>(cr & 0xFFu) * k;
    rgba[1] = static_cast<float>((cr >> 8) & 0xFFu) * k;
    rgba[2] = static_cast<float>((cr >> 16) & 0xFFu) * k;
    rgba[3] = vek::kTubeMaterialAlpha;
}
