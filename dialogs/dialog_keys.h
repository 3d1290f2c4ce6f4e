// The keyboard rules of the program's dialogs, apart from the toolkit: what
// Tab, Shift+Tab, Escape and Return do, given the dialog's tab stops.
//
// The tab stops are the controls that take the keyboard focus, in template
// order (OK first; radio buttons and labels are none). Tab moves to the next
// stop and from the last back to the first, Shift+Tab the other way.
// Escape cancels from any control. Return presses the focused control when
// it is a button, and the default button (OK) from anywhere else. Every
// other key is left to the focused control (Space presses a button, letters
// go into an edit).
#pragma once

#include <vector>

enum class DialogKey { Tab, ShiftTab, Escape, Return, Other };

struct DialogKeyAction {
    enum Kind { PassOn, Focus, Press, Cancel } kind = PassOn;
    int stop = -1;  // the tab stop to focus or press (Focus, Press)
};

// What `key` does. `isButton[k]` tells whether tab stop k is a button;
// `focused` is the stop that has the focus, -1 when none of them has it;
// `defaultStop` is the stop of the default button, -1 when there is none.
DialogKeyAction DialogKeyRule(DialogKey key, const std::vector<bool>& isButton, int focused, int defaultStop);
