#include "app/command_ids.h"

#include <wx/defs.h>
#include <wx/xrc/xmlres.h>

#include "res/resource_ids.h"

namespace {

struct CommandName {
    int programId;
    const char* xrcName;  // menu item name in res/vek.xrc, or nullptr
    int stockId;          // toolkit stock id, or wxID_NONE
};

// The menu items take their ids from the names in the XRC file; the About
// and Exit items and the accelerator-only edit and pane commands use the
// toolkit's stock ids.
constexpr CommandName kCommands[] = {
    {ID_FILE_LOAD_POINTS, "ID_FILE_LOAD_POINTS", wxID_NONE},
    {ID_FILE_SAVE_POINTS, "ID_FILE_SAVE_POINTS", wxID_NONE},
    {ID_SETTINGS_COLOR_WIDTH, "ID_SETTINGS_COLOR_WIDTH", wxID_NONE},
    {ID_SETTINGS_PRECISION, "ID_SETTINGS_PRECISION", wxID_NONE},
    {ID_CALC_START, "ID_CALC_START", wxID_NONE},
    {ID_CALC_STOP, "ID_CALC_STOP", wxID_NONE},
    {ID_CALC_RESET, "ID_CALC_RESET", wxID_NONE},
    {ID_FILE_OPEN_KNOT, "ID_FILE_OPEN_KNOT", wxID_NONE},
    {ID_FILE_SAVE_PICTURE, "ID_FILE_SAVE_PICTURE", wxID_NONE},
    {ID_FILE_SAVE_SHAPE, "ID_FILE_SAVE_SHAPE", wxID_NONE},
    {ID_CALC_IDEAL, "ID_CALC_IDEAL", wxID_NONE},
    {ID_VIEW_FIT, "ID_VIEW_FIT", wxID_NONE},
    {ID_APP_ABOUT, nullptr, wxID_ABOUT},
    {ID_APP_EXIT, nullptr, wxID_EXIT},
    {ID_EDIT_COPY, nullptr, wxID_COPY},
    {ID_EDIT_CUT, nullptr, wxID_CUT},
    {ID_EDIT_PASTE, nullptr, wxID_PASTE},
    {ID_EDIT_UNDO, nullptr, wxID_UNDO},
    {ID_NEXT_PANE, "ID_NEXT_PANE", wxID_NONE},
    {ID_PREV_PANE, "ID_PREV_PANE", wxID_NONE},
};

int ToolkitIdOf(const CommandName& c)
{
    return c.xrcName ? wxXmlResource::GetXRCID(c.xrcName) : c.stockId;
}

}  // namespace

int ToolkitCommandId(int programId)
{
    for (const CommandName& c : kCommands)
        if (c.programId == programId)
            return ToolkitIdOf(c);
    return wxID_NONE;
}

int ProgramCommandId(int toolkitId)
{
    for (const CommandName& c : kCommands)
        if (ToolkitIdOf(c) == toolkitId)
            return c.programId;
    return 0;
}
