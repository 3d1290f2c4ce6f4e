#!/usr/bin/env bash
# Installs what is missing, builds Vek and its tests, and runs every test
# (the GUI tests under a virtual X server). Then, each in a build tree of its
# own beside the first: the fuzz targets for a short while over their seed
# corpus (clang's libFuzzer), and the unit and GUI tests once more built
# with the address and undefined-behaviour sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
scripts/setup/install-deps.sh --test
build=${VEK_BUILD_DIR:-build}
# -noreset: the virtual X server must not reset when one test program
# closes its last connection while the next one is connecting.
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")
jobs=$(nproc)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"
(cd "$build" && "${xvfb[@]}" ctest --output-on-failure -j "$jobs" "$@")

echo "== Fuzz targets (${build}-fuzz)"
cmake -S . -B "${build}-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEK_FUZZ=ON -DVEK_GUI=OFF -DVEK_TESTS=OFF -DVEK_BENCH=OFF >/dev/null
cmake --build "${build}-fuzz" -j "$jobs" --target vek_fuzzers
(cd "${build}-fuzz" && ctest --output-on-failure -L fuzz)

echo "== Sanitizer build (${build}-asan)"
# -O1 keeps the instrumented build and its tests quick enough for CI.
cmake -S . -B "${build}-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DVEK_SANITIZE=ON -DVEK_BENCH=OFF >/dev/null
# shellcheck source=../../tests/sanitizers/env.sh
source tests/sanitizers/env.sh
cmake --build "${build}-asan" -j "$jobs" --target vek_unit_tests vek_gui_tests
(cd "${build}-asan" && "${xvfb[@]}" ctest --output-on-failure -j "$jobs" -L 'unit|gui')
