#!/usr/bin/env bash
# Runs the Windows executable (the command after the two files, Wine and all) with its input
# and output redirected, and compares what it wrote with the expected Windows-1250 bytes, whose
# LF line ends become CR LF in text mode.
set -uo pipefail
answers=$1 expected=$2
shift 2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$@" <"$answers" >"$work/out" 2>"$work/err"
status=$?
perl -pe 's/\n/\r\n/' "$expected" >"$work/expected"

failed=0
if [ "$status" -ne 0 ]; then
  echo "exit status $status, expected 0"
  failed=1
fi
if ! cmp "$work/out" "$work/expected"; then
  echo "output differs from the Linux build's:"
  diff <(od -c "$work/expected") <(od -c "$work/out") | head -40
  failed=1
fi
if [ -s "$work/err" ]; then
  echo "unexpected standard error:"
  cat "$work/err"
  failed=1
fi
exit "$failed"
