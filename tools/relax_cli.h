// The toolkit-free part of vek-relax, the command-line companion: its
// options, its runs, the summary it prints and the mesh it writes.
#pragma once

#include "tools/ideal_run.h"
#include "tools/knot_guard.h"
#include "tools/relax_options.h"
#include "tools/relax_report.h"
#include "tools/relax_run.h"
#include "tools/tube_export.h"
