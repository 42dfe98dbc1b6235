#!/usr/bin/env bash
# The layer check: every #include "x/y.h" under a source folder must point to
# the file's own layer or to a layer below it. Run by `make test` (ctest
# layers_check); prints each offending include as file:line and exits 1.
#
#   scripts/check-layers.sh SRC_DIR LAYER_MAP
#
# LAYER_MAP has one line "path layer" per compiled file, path relative to
# SRC_DIR; the build writes it (build/layers.txt) from the library each file is
# compiled into. A header goes with the .cpp of the same name; a header with no
# .cpp goes with its folder, when all of that folder is one layer.
#
# Allowed, lowest layer first (each may also include its own layer):
#   numerics   -                      (and the one header engine/ErrorCodes.h)
#   engine     numerics
#   storage    numerics engine
#   tex        numerics engine
#   logic      numerics engine storage tex
#   ui         numerics engine storage tex logic
#   screens    numerics engine storage tex logic ui
#   shell      every layer
#   cli        numerics engine storage tex logic
# Within screens, folders go one way too: auxiliary <- editor <- calc, browser.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 SRC_DIR LAYER_MAP" >&2
  exit 2
fi
map=$(realpath "$2")
files=$(mktemp)
trap 'rm -f "$files"' EXIT

cd "$1"
find . \( -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort > "$files"

grep -rn --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' . |
  sed 's|^\./||' | sort -t: -k1,1 -k2,2n |
  awk -v map="$map" -v files="$files" '
function folder(p) { return p ~ /\// ? substr(p, 1, match(p, /\/[^\/]*$/) - 1) : "" }

# The layer of a file, or "" when it has none.
function layerOf(p,    cpp, f) {
  if (p in layer) return layer[p]
  if (p !~ /\.h$/) return ""
  cpp = substr(p, 1, length(p) - 2) ".cpp"
  if (cpp in layer) return layer[cpp]
  f = folder(p)
  return (f in folderLayer && folderLayer[f] != "*") ? folderLayer[f] : ""
}

# Screens folders may include the folders listed for them.
function screensAllow(from, to) {
  return from == to || (to == "auxiliary" && from != "auxiliary") ||
         (to == "editor" && (from == "calc" || from == "browser"))
}

BEGIN {
  below["engine"] = "numerics"
  below["storage"] = below["tex"] = "numerics engine"
  below["logic"] = "numerics engine storage tex"
  below["ui"] = below["cli"] = "numerics engine storage tex logic"
  below["screens"] = "numerics engine storage tex logic ui"
  below["shell"] = "numerics engine storage tex logic ui screens"
  for (l in below) {
    n = split(below[l], parts, " ")
    for (i = 1; i <= n; ++i) allowed[l, parts[i]] = 1
  }
  # The one include up: the error codes the root finder and the financial
  # functions report through (the header includes nothing).
  exception["numerics", "engine/ErrorCodes.h"] = 1

  while ((getline line < map) > 0) {
    split(line, w, " ")
    if (w[1] == "" || w[1] ~ /^#/) continue
    layer[w[1]] = w[2]
    f = folder(w[1])
    mixed = (f in folderLayer) && folderLayer[f] != w[2]
    folderLayer[f] = mixed ? "*" : w[2]
  }
  while ((getline line < files) > 0) {
    known[line] = 1
    listed[++nFiles] = line
  }
  for (i = 1; i <= nFiles; ++i) {
    p = listed[i]
    if (layerOf(p) == "") {
      printf "%s: belongs to no layer (compiled into no library, or a header without a .cpp in a folder of several layers)\n", p
      bad = 1
    }
  }
}

{
  # file:line:#include "target"
  file = $0; sub(/:.*/, "", file)
  rest = substr($0, length(file) + 2)
  lineno = rest; sub(/:.*/, "", lineno)
  target = rest; sub(/^[^"]*"/, "", target); sub(/".*/, "", target)

  resolved = folder(file) == "" ? target : folder(file) "/" target
  if (!(resolved in known)) resolved = target
  if (!(resolved in known)) next          # not one of ours (generated, system)

  from = layerOf(file); to = layerOf(resolved)
  if (from == "" || to == "" || from == to) {
    if (from == "screens" && to == "screens" && !screensAllow(folder(file), folder(resolved))) {
      printf "%s:%s: screens in %s/ may not include %s (screens in %s/)\n", file, lineno, folder(file), resolved, folder(resolved)
      bad = 1
    }
    next
  }
  if ((from, to) in allowed || (from, resolved) in exception) next
  printf "%s:%s: %s may not include %s (%s)\n", file, lineno, from, resolved, to
  bad = 1
}

END {
  if (bad) {
    print "Layer check failed: an include above reaches up or sideways; see scripts/check-layers.sh for what each layer may include."
    exit 1
  }
  print "Layer check passed."
}'
