#!/bin/sh
# Installs the build into a scratch prefix as `cmake --install` does and
# checks what a desktop finds there; the installed programs must take their
# resource folder from their own prefix.
#   InstallTest.sh BUILD_DIR
set -u
build="$1"
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" > /dev/null || { echo "FAILED: cmake --install"; exit 1; }
for f in bin/calcudex bin/calcudex-cli share/applications/calcudex.desktop share/metainfo/calcudex.metainfo.xml \
         share/calcudex/Formulas/Math/Math_fortree.dat share/calcudex/Help/Help1.png share/calcudex/Formulas.png \
         share/calcudex/Formulas@4x.png; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
for n in 16 22 24 32 48 64 128 256 512; do
  [ -s "$prefix/share/icons/hicolor/${n}x${n}/apps/calcudex.png" ] || fail "no ${n}x${n} icon"
done
grep -q '^Exec=calcudex$' "$prefix/share/applications/calcudex.desktop" || fail "the .desktop file does not start calcudex"
grep -q '^Icon=calcudex$' "$prefix/share/applications/calcudex.desktop" || fail "the .desktop file names no icon"

# The installed copy of the resource folder is the one used: a book taken out
# of it is missing for the installed program.
rm -rf "$prefix/share/calcudex/Formulas/Optics"
unset CALCUDEX_RESOURCES
CALCUDEX_HOME="$home" "$prefix/bin/calcudex-cli" tree Math > "$home/math.txt" 2>&1 || fail "the installed CLI reads no Math book"
grep -q "Algebra" "$home/math.txt" || fail "the installed Math book has no Algebra folder"
[ -e "$home/Optics_fortree.dat" ] && fail "the installed program took its books from elsewhere"

# The window starts from the prefix and writes nothing on standard output.
CALCUDEX_HOME="$home" QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/calcudex" > "$home/out.txt" 2> /dev/null
status=$?
[ "$status" -eq 124 ] || fail "the installed window ended with status $status"
[ -s "$home/out.txt" ] && fail "the window wrote on standard output: $(head -c 200 "$home/out.txt")"

[ "$failures" -eq 0 ] && echo "install: all checks passed"
exit "$failures"
