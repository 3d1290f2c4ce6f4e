// The radio exchange of a dialog: which buttons form a group, and how the
// group's selection moves to and from an int member.
#pragma once

#include <vector>

// One control of a dialog template, as far as the grouping needs it.
struct DialogControlKind {
    bool isRadio = false;
    bool startsGroup = false;  // has WS_GROUP
};

// The template positions of the radio buttons in the group that starts at
// template position first: from first up to, not including, the next
// control that starts a group, or to the last control. Controls in the run
// that are not radio buttons are skipped. Empty when first is out of range.
std::vector<int> RadioGroupMembers(const std::vector<DialogControlKind>& controls, int first);

// Into the controls: the check state of each of count buttons; only the
// button at index is checked, none when index is -1 or out of range.
std::vector<bool> RadioChecksFromIndex(int index, int count);

// Out of the controls: -1, then the position of the checked button. If
// several are checked (automatic radio buttons never allow it) the first
// one counts.
int RadioIndexFromChecks(const std::vector<bool>& checked);
