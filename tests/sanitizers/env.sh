# Sanitizer options of the test run (sourced by scripts/setup/test.sh; source it by
# hand to run a sanitizer build's tests yourself).
#
# Every report counts: address errors and undefined behaviour end the
# process, and leaks are reported at exit, less only the desktop libraries'
# own start-up allocations listed in lsan.supp.
vek_sanitizers=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:check_initialization_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$vek_sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
unset vek_sanitizers
