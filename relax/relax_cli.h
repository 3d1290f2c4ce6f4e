// The toolkit-free part of vek-relax, the command-line companion: its
// options, its runs, the summary it prints and the mesh it writes.
#pragma once

#include "relax/ideal_run.h"
#include "relax/knot_guard.h"
#include "relax/relax_options.h"
#include "relax/relax_report.h"
#include "relax/relax_run.h"
#include "relax/tube_export.h"
