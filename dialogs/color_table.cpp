#include "dialogs/color_table.h"

#include "curve/constants.h"

namespace {

constexpr ColorRef kTubeColors[vek::kColorCount] = {vek::kColorWhite, vek::kColorPink, vek::kColorCyan};

}  // namespace

int ColorIndexFromTube(ColorRef cr)
{
    for (int i = 0; i < vek::kColorCount; ++i)
        if (kTubeColors[i] == cr)
            return i;
    return vek::kColorIndexNone;
}

ColorRef TubeFromColorIndex(int index, ColorRef current)
{
    if (index < 0 || index >= vek::kColorCount)
        return current;
    return kTubeColors[index];
}
