#!/usr/bin/env bash
# Renders every manual page in DIR (*.1.gz) and fails on any warning of man
# or groff, and when a page is missing or has no OPTIONS or DESCRIPTION.
# Usage: check_man_pages.sh DIR
set -euo pipefail
dir=$1
status=0
for name in vek vek-relax vek-tube-picture; do
  page=$dir/$name.1.gz
  if [ ! -s "$page" ]; then echo "FAIL: $page is missing"; status=1; continue; fi
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
  if [ -n "$warnings" ]; then echo "FAIL: $name: $warnings"; status=1; fi
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
  grep -q "^NAME" <<<"$text" && grep -q "^DESCRIPTION" <<<"$text" && grep -q "^SEE ALSO" <<<"$text" \
    || { echo "FAIL: $name lacks NAME, DESCRIPTION or SEE ALSO"; status=1; }
  if [ "$name" != vek ]; then
    grep -q -- "--help" <<<"$text" || { echo "FAIL: $name lists no options"; status=1; }
  fi
done
exit $status
