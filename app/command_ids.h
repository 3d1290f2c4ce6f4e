// Translation between the program's command ids (res/resource_ids.h) and the
// toolkit's menu ids. The toolkit refuses ids from 32767 up, so the program's
// numbers never reach it directly; this is the one place that maps them.
#pragma once

// The toolkit id of a program command, or -1 (wxID_NONE) for an unknown one.
int ToolkitCommandId(int programId);

// The program command of a toolkit id, or 0 when it is none of them.
int ProgramCommandId(int toolkitId);
