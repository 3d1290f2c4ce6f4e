#include "dialogs/dialog_keys.h"

DialogKeyAction DialogKeyRule(DialogKey key, const std::vector<bool>& isButton, int focused, int defaultStop)
{
    const int count = static_cast<int>(isButton.size());
    const bool inside = focused >= 0 && focused < count;
    switch (key) {
    case DialogKey::Tab:
        if (count == 0)
            return {};
        return {DialogKeyAction::Focus, inside ? (focused + 1) % count : 0};
    case DialogKey::ShiftTab:
        if (count == 0)
            return {};
        return {DialogKeyAction::Focus, inside ? (focused + count - 1) % count : count - 1};
    case DialogKey::Escape:
        return {DialogKeyAction::Cancel, -1};
    case DialogKey::Return:
        if (inside && isButton[focused])
            return {DialogKeyAction::Press, focused};
        if (defaultStop >= 0 && defaultStop < count)
            return {DialogKeyAction::Press, defaultStop};
        return {};
    case DialogKey::Other:
        break;
    }
    return {};
}
