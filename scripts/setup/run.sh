#!/usr/bin/env bash
# Installs what is missing, builds Vek and opens it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
scripts/setup/install-deps.sh
build=${VEK_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Vek is built ($build/vek), but there is no display to open it on." >&2
  echo "Run it from a desktop session, or under a virtual X server:" >&2
  echo "  xvfb-run -a $build/vek" >&2
  exit 1
fi
exec "$build/vek"
