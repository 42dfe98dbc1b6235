#!/usr/bin/env bash
# calcudex-cli eval: output lines and exit status, one case per row.
set -u
cli="$1"
failures=0
usage="usage: calcudex-cli eval [--mode deg|rad|grad] [--digits N] [--format display|e] [--list v1,v2,...] [--] EXPR...|-"

# check EXPECTED_STATUS EXPECTED_OUTPUT ARGS...
check() {
  local want_status="$1" want_output="$2"
  shift 2
  local output status
  output="$("$cli" eval "$@" 2>&1)"
  status=$?
  if [ "$status" != "$want_status" ] || [ "$output" != "$want_output" ]; then
    echo "FAILED: eval $*"
    echo "  expected status $want_status, output: $want_output"
    echo "  got      status $status, output: $output"
    failures=$((failures + 1))
  fi
}

# values as the calculation screen shows them
check 0 "3.5"                          --mode deg "2+sin(30)*3"
check 0 "0.8939966636006"              "sin(90)"
check 0 "1"                            --mode grad "sin(100)"
check 0 "0.3333333333333"              "1/3"
check 0 "0.333"                        --digits 2 "1/3"
check 0 " 1.000000000000*10^(15)"      "10^15"
check 0 "-2.500000000000*10^(-13)"     "-2.5*10^(-13)"
check 0 "0 + 2i"                       "sqrt(-4)"
check 0 "1 + -1i"                      "1-i"
check 0 "120"                          "5!"
check 0 "2.5"                          --list 1,2,3,4 "avg(0)"
check 0 "-4"                           -- "-5+1"
# numbers as people write them
check 0 $'1.5\n0.002\n0.5'              "1+.5" "2e-3" "2^-1"
check 1 "error: Syntax error"         "12 345"
# scientific notation that reads back: a+bi for complex values
check 0 $'2.625374126408e+17\n-1.5e-12\n0e+00\n1e+00-1e+00i' --format e "262537412640768743.99999" "-1.5e-12" "0" "1-i"
check 0 "3.33e-01"                     --format e --digits 2 "1/3"
check 2 "$usage"                      --format f "1"
# several expressions, one line each; an error makes the status 1
check 1 $'2\nerror: Division error\n3' "1+1" "5 mod 0" "1+2"
check 1 "error: No list available"    "sum(0)"
check 1 "error: Syntax error"         "2+"
check 1 "error: Invalid parameters"   "npr(5, -1)"
check 1 "error: Root not found"       "fnRoot(x^2-2, x, 2, 3)"
check 1 "error: Invalid parameters"   "fv(-2400, 1.5, 100, 100, 12)"
# "-" reads one expression per line from standard input, one result line each
out="$(printf '1+1\n5 mod 0\n\n1e+00-1e+00i\n' | "$cli" eval --format e - 2>/dev/null)"
status=$?
if [ "$out" != $'2e+00\nerror: Division error\nerror: Syntax error\n1e+00-1e+00i' ] || [ "$status" != 1 ]; then
  echo "FAILED: eval - gave status $status, output: $out"
  failures=$((failures + 1))
fi
out="$(printf 'sqrt(2)\n' | "$cli" eval "1+1" - "2+2")"
if [ "$out" != $'2\n1.414213562373\n4' ]; then
  echo "FAILED: eval with - between expressions: $out"
  failures=$((failures + 1))
fi
# standard output holds one line per expression: the number library's own
# error reports go to standard error
out="$("$cli" eval "ln(0)" "10^10000" "1+1" 2>/dev/null)"
if [ "$out" != $'error: Invalid parameter(s)\nerror: Invalid parameter(s)\n2' ]; then
  echo "FAILED: library reports on standard output: $out"
  failures=$((failures + 1))
fi
err="$("$cli" eval "ln(0)" 2>&1 >/dev/null)"
if [ -z "$err" ]; then
  echo "FAILED: the library's report is lost"
  failures=$((failures + 1))
fi
# bad arguments: usage and status 2
check 2 "$usage" --mode rad
check 2 "$usage" --mode north "1"
check 2 "$usage" --digits 100 "1"
check 2 "$usage" --list 1,,2 "1"
check 2 "$usage" --list 1,nan "1"
check 2 "$usage" --list 1e999 "1"
# the list holds at most 65535 values: one more is refused, not cut
many="$(printf '1,%.0s' $(seq 65534))1"
check 0 "65535" --list "$many" "N(0)"
check 2 "$usage" --list "$many,1" "N(0)"

if [ "$failures" -ne 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
