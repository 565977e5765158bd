#!/usr/bin/env bash
# ctest's way into Wine for the Windows build's suites: Wine hands a piped
# standard output nothing of what Qt Test writes, so each suite writes its
# log to a file, shown here once it ends, with the suite's own status.
set -u
log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
wine "$@" -o "$(winepath -w "$log" 2>/dev/null),txt" 2>/dev/null
status=$?
cat "$log"
exit $status
