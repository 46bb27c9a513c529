#!/bin/sh
# Runs one test program under Wine. Its output goes to a file first, so that no
# Wine process ever holds CTest's pipe open after the program has ended.
log="$(mktemp)"
wine "$@" >"$log" 2>&1
rc=$?
cat "$log"
rm -f "$log"
exit $rc
