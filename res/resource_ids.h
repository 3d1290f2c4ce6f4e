// Resource and command ids of the program. The command ids are the
// program's own numbers; app/command_ids.h translates them to toolkit ids.
#pragma once

// Frame resources: menu, accelerator table, icon and title string.
inline constexpr int IDR_MAINFRAME = 128;

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_COLOR_WIDTH = 130;
inline constexpr int IDD_PRECISION = 131;

// Dialog controls.
inline constexpr int IDC_COLOR_WHITE = 1000;
inline constexpr int IDC_COLOR_PINK = 1001;
inline constexpr int IDC_COLOR_CYAN = 1002;
inline constexpr int IDC_VALUE_EDIT = 1003;

// Commands.
inline constexpr int ID_FILE_LOAD_POINTS = 32771;
inline constexpr int ID_FILE_SAVE_POINTS = 32772;
inline constexpr int ID_SETTINGS_COLOR_WIDTH = 32773;
inline constexpr int ID_SETTINGS_PRECISION = 32774;
inline constexpr int ID_CALC_START = 32775;
inline constexpr int ID_CALC_STOP = 32776;
inline constexpr int ID_CALC_RESET = 32777;
// Commands after the menus' first items: the knot table, the picture and
// shape files, the ideal shape and the fitted view.
inline constexpr int ID_FILE_OPEN_KNOT = 32778;
inline constexpr int ID_FILE_SAVE_PICTURE = 32779;
inline constexpr int ID_FILE_SAVE_SHAPE = 32780;
inline constexpr int ID_CALC_IDEAL = 32781;
inline constexpr int ID_VIEW_FIT = 32782;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

// Standard edit and pane commands bound by the accelerator table; nothing
// on the command route handles them, so their keys do nothing.
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

// String table entries.
inline constexpr int IDS_FRAME_TITLE = 128;
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int IDS_CALC_START_PROMPT = 32775;
inline constexpr int AFX_IDP_PARSE_REAL = 61713;
