#include "dialogs/dialog_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Kind = DialogKeyAction::Kind;

struct KeyCase {
    const char* name;
    DialogKey key;
    int focused;
    Kind kind;
    int stop;
};

// The settings dialogs: OK, ｷｬﾝｾﾙ, the edit; OK is the default button.
const std::vector<bool> kSettings = {true, true, false};

class SettingsDialogKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SettingsDialogKeys, Act)
{
    const KeyCase& c = GetParam();
    const DialogKeyAction action = DialogKeyRule(c.key, kSettings, c.focused, 0);
    EXPECT_EQ(action.kind, c.kind);
    if (c.kind == Kind::Focus || c.kind == Kind::Press) {
        EXPECT_EQ(action.stop, c.stop);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsDialogKeys,
    ::testing::Values(KeyCase{"tab_ok_to_cancel", DialogKey::Tab, 0, Kind::Focus, 1},
                      KeyCase{"tab_cancel_to_edit", DialogKey::Tab, 1, Kind::Focus, 2},
                      KeyCase{"tab_edit_back_to_ok", DialogKey::Tab, 2, Kind::Focus, 0},
                      KeyCase{"tab_from_nowhere_to_ok", DialogKey::Tab, -1, Kind::Focus, 0},
                      KeyCase{"shift_tab_ok_to_edit", DialogKey::ShiftTab, 0, Kind::Focus, 2},
                      KeyCase{"shift_tab_edit_to_cancel", DialogKey::ShiftTab, 2, Kind::Focus, 1},
                      KeyCase{"shift_tab_cancel_to_ok", DialogKey::ShiftTab, 1, Kind::Focus, 0},
                      KeyCase{"shift_tab_from_nowhere_to_edit", DialogKey::ShiftTab, -1, Kind::Focus, 2},
                      KeyCase{"escape_on_ok", DialogKey::Escape, 0, Kind::Cancel, -1},
                      KeyCase{"escape_in_edit", DialogKey::Escape, 2, Kind::Cancel, -1},
                      KeyCase{"escape_from_nowhere", DialogKey::Escape, -1, Kind::Cancel, -1},
                      KeyCase{"return_in_edit_presses_ok", DialogKey::Return, 2, Kind::Press, 0},
                      KeyCase{"return_on_cancel_presses_cancel", DialogKey::Return, 1, Kind::Press, 1},
                      KeyCase{"return_on_ok_presses_ok", DialogKey::Return, 0, Kind::Press, 0},
                      KeyCase{"return_from_nowhere_presses_ok", DialogKey::Return, -1, Kind::Press, 0},
                      KeyCase{"space_is_the_controls", DialogKey::Other, 1, Kind::PassOn, -1}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

}  // namespace

TEST(DialogKeys, AboutBoxWithItsOneButton)
{
    const std::vector<bool> about = {true};
    EXPECT_EQ(DialogKeyRule(DialogKey::Tab, about, 0, 0).stop, 0);
    EXPECT_EQ(DialogKeyRule(DialogKey::ShiftTab, about, 0, 0).stop, 0);
    EXPECT_EQ(DialogKeyRule(DialogKey::Escape, about, 0, 0).kind, Kind::Cancel);
    const DialogKeyAction ret = DialogKeyRule(DialogKey::Return, about, -1, 0);
    EXPECT_EQ(ret.kind, Kind::Press);
    EXPECT_EQ(ret.stop, 0);
}

TEST(DialogKeys, WithoutStopsOrDefaultOnlyEscapeActs)
{
    EXPECT_EQ(DialogKeyRule(DialogKey::Tab, {}, -1, -1).kind, Kind::PassOn);
    EXPECT_EQ(DialogKeyRule(DialogKey::ShiftTab, {}, -1, -1).kind, Kind::PassOn);
    EXPECT_EQ(DialogKeyRule(DialogKey::Escape, {}, -1, -1).kind, Kind::Cancel);
    // An edit alone and no default button: Return is the edit's.
    EXPECT_EQ(DialogKeyRule(DialogKey::Return, {false}, 0, -1).kind, Kind::PassOn);
    // A focus index out of range counts as none.
    EXPECT_EQ(DialogKeyRule(DialogKey::Tab, kSettings, 7, 0).stop, 0);
}
