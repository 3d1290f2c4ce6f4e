// The program's string table, UTF-8. LoadResString returns "" for an id that
// has no entry.
#pragma once

const char* LoadResString(int id);

// Texts used in more than one place.
namespace vek::text {
// Caption of every message box and the frame title.
inline constexpr const char* kAppTitle = "Vek";
// Shown when a close is requested while the relaxation runs.
inline constexpr const char* kBusyClosing = "計算中です";
// Filter of the position data file dialogs (display text, pattern pairs).
inline constexpr const char* kPointsFileFilter = "txtファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*||";
inline constexpr const char* kPointsFileExtension = "txt";
// Registry-style settings location; nothing is read or written there.
inline constexpr const char* kSettingsVendor = "Local AppWizard-Generated Applications";
}  // namespace vek::text
