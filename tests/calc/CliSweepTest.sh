#!/usr/bin/env bash
# calcudex-cli calc --sweep over the shipped books: CSV lines and exit status,
# one case per row; then --plot through calcudex-plot.
set -u
cli="$1"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export CALCUDEX_HOME="$home"
failures=0

book="Dynamics and Mechanics"
range="Projectile range on level ground"

# check EXPECTED_STATUS EXPECTED_OUTPUT_PATTERN ARGS... (grep -E on the whole output, newlines as |)
check() {
  local want_status="$1" want_pattern="$2"
  shift 2
  local output status
  output="$("$cli" calc "$@" 2>&1)"
  status=$?
  if [ "$status" != "$want_status" ] || ! tr '\n' '|' <<<"$output" | grep -Eq -- "$want_pattern"; then
    echo "FAILED: calc $*"
    echo "  expected status $want_status, output matching: $want_pattern"
    echo "  got      status $status, output: $(head -c 600 <<<"$output")"
    failures=$((failures + 1))
  fi
}

# the range for every launch angle, peak at 45 degrees
check 0 "^a,r\|0,0\|1,1.423503304492\|.*\|45,40.78864851912\|.*\|90,0\|$" \
  "$book" "$range" --set v=20 --set g=9.80665 --solve r --sweep a=0:90:91
check 0 "^a,r(\|[^|]*){200}\|$" "$book" "$range" --set v=20 --set g=9.80665 --solve r --sweep a=0:90
# failed points: empty y and the calculation's message
check 0 "^r,a\|0,0\|20,14.68121908828\|40,39.35736480296\|60,,Invalid parameter\(s\)!\|$" \
  "$book" "$range" --set v=20 --set g=9.80665 --solve a --sweep r=0:60:4
check 1 "^r,a\|50,,Invalid parameter\(s\)!\|60,,Invalid parameter\(s\)!\|$" \
  "$book" "$range" --set v=20 --set g=9.80665 --solve a --sweep r=50:60:2
# logarithmic spacing, one point per decade
check 0 "^c,f\|1e-12,1591549.430919\|1e-11,503292.1210449\|1e-10,159154.9430919\|$" \
  "Electric Engineering" "Resonant frequency of an LC circuit" --set l=0.01 --solve f --sweep c=1e-12:1e-10:3 --log
# refused like the Calculate key
check 1 "^Please fill-in all the input parameter\(s\)\.\|$" "$book" "$range" --set v=20 --solve r --sweep a=0:90
# bad arguments
check 2 "A logarithmic axis needs a range above zero" "$book" "$range" --set v=20 --set g=9.8 --solve r --sweep a=0:90 --log
check 2 "needs two different numbers" "$book" "$range" --set v=20 --set g=9.8 --solve r --sweep a=5:5
check 2 "is no range of numbers" "$book" "$range" --set v=20 --set g=9.8 --solve r --sweep a=0:90:1
check 2 "other than the one calculated" "$book" "$range" --set v=20 --set g=9.8 --solve r --sweep r=0:90
check 2 "--sweep q names no parameter.*usage:" "$book" "$range" --set v=20 --set g=9.8 --solve r --sweep q=0:1
check 2 "usage:" "$book" "$range" --set v=20 --set g=9.8 --solve r --log
check 2 "usage:" "$book" "$range" --set v=20 --set g=9.8 --solve r --sweep a=0:90 --plot x.png --size 10x10

# --plot draws a PNG of the asked size; a log y axis over zero is refused
if [ ! -x "$(dirname "$cli")/calcudex-plot" ]; then
  echo "calcudex-plot was not built: --plot not tested"
  [ "$failures" -eq 0 ] && echo "all cases passed"
  exit "$failures"
fi
png="$home/range.png"
check 0 "^a,r\|" "$book" "$range" --set v=20 --set g=9.80665 --set a=30 --solve r --sweep a=0:90:91 \
  --plot "$png" --size 400x300
if [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ] ||
   [ "$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')" != "0 0 1 144 0 0 1 44" ]; then
  echo "FAILED: --plot wrote no 400 x 300 PNG"
  failures=$((failures + 1))
fi
check 1 "A logarithmic axis needs values above zero" "$book" "$range" --set v=20 --set g=9.80665 --solve r \
  --sweep a=0:90:91 --log-y --plot "$home/log.png"

[ "$failures" -eq 0 ] && echo "all cases passed"
exit "$failures"
