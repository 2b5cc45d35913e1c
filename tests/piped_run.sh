#!/usr/bin/env bash
# Runs a build of the program (the command after the options, emulator and all) with its input
# and output redirected, and compares what it wrote and how it ended with the expected bytes.
#   --answers FILE  standard input
#   --output FILE   expected standard output (Windows-1250)
#   --error FILE    expected standard error (none when not given)
#   --status N      expected exit status (0 when not given)
#   --crlf          the build writes text mode line ends: every LF expected becomes CR LF
set -uo pipefail
answers="" output="" error=/dev/null status_wanted=0 crlf=0
while [ $# -gt 0 ]; do
  case $1 in
    --answers) answers=$2; shift 2 ;;
    --output) output=$2; shift 2 ;;
    --error) error=$2; shift 2 ;;
    --status) status_wanted=$2; shift 2 ;;
    --crlf) crlf=1; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$@" <"$answers" >"$work/out" 2>"$work/err"
status=$?
if [ "$crlf" -eq 1 ]; then
  perl -pe 's/\n/\r\n/' "$output" >"$work/expected-out"
  perl -pe 's/\n/\r\n/' "$error" >"$work/expected-err"
else
  cp "$output" "$work/expected-out"
  cp "$error" "$work/expected-err"
fi

failed=0
if [ "$status" -ne "$status_wanted" ]; then
  echo "exit status $status, expected $status_wanted"
  failed=1
fi
if ! cmp "$work/out" "$work/expected-out"; then
  echo "standard output differs from the expected bytes:"
  diff <(od -c "$work/expected-out") <(od -c "$work/out") | head -40
  failed=1
fi
if ! cmp "$work/err" "$work/expected-err"; then
  echo "standard error differs from the expected bytes:"
  diff <(od -c "$work/expected-err") <(od -c "$work/err") | head -20
  failed=1
fi
exit "$failed"
