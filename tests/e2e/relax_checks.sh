# Shared by the vek-relax end-to-end scripts (sourced): counting failures
# and running the program with an expected exit status. Needs $relax (the
# program) and $out (the scripts' folder for its outputs).
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs vek-relax with the arguments after the expected status; checks the
# status. Its standard output and error are kept in $out/stdout and
# $out/stderr.
expect_status() {
  local want=$1
  shift
  "$relax" "$@" >"$out/stdout" 2>"$out/stderr"
  local got=$?
  [ "$got" -eq "$want" ] || fail "vek-relax $* exited $got, not $want: $(head -c 300 "$out/stderr")"
}
