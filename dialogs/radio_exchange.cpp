#include "dialogs/radio_exchange.h"

#include <cstddef>

std::vector<int> RadioGroupMembers(const std::vector<DialogControlKind>& controls, int first)
{
    std::vector<int> members;
    const int count = static_cast<int>(controls.size());
    if (first < 0 || first >= count)
        return members;
    for (int i = first; i < count; ++i) {
        if (i > first && controls[i].startsGroup)
            break;
        if (controls[i].isRadio)
            members.push_back(i);
    }
    return members;
}

std::vector<bool> RadioChecksFromIndex(int index, int count)
{
    std::vector<bool> checked(count > 0 ? static_cast<std::size_t>(count) : 0, false);
    if (index >= 0 && index < count)
        checked[static_cast<std::size_t>(index)] = true;
    return checked;
}

int RadioIndexFromChecks(const std::vector<bool>& checked)
{
    for (std::size_t i = 0; i < checked.size(); ++i)
        if (checked[i])
            return static_cast<int>(i);
    return -1;
}
