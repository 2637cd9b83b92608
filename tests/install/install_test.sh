#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree a packager would ship:
# the files are where they belong, the desktop entry and metainfo validate, and the installed game
# finds its data relative to itself.
set -u
build="$1"; src="$2"
dest="$(mktemp -d)"
trap 'rm -rf "$dest" "$dest.log" "$dest.man" "$dest.txt"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$dest.log" 2>&1 || { cat "$dest.log"; fail "cmake --install"; }
root="$dest/usr"
for f in bin/brackmoor bin/brackmoor-headless \
         share/applications/io.github.brackmoor.Brackmoor.desktop \
         share/metainfo/io.github.brackmoor.Brackmoor.metainfo.xml \
         share/man/man6/brackmoor.6 share/man/man6/brackmoor-headless.6 \
         share/brackmoor/data/font/bkmfont.cff \
         share/brackmoor/data/player/player.png; do
  [ -e "$root/$f" ] || fail "missing $f"
done
for s in 32 48 64 128 256; do
  [ -s "$root/share/icons/hicolor/${s}x${s}/apps/brackmoor.png" ] || fail "missing ${s}x${s} icon"
done
if find "$root" -name '*.tmp*' | grep -q .; then fail "temporary files were installed"; fi

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/share/applications/io.github.brackmoor.Brackmoor.desktop" || fail "desktop-file-validate"
else
  echo "note: desktop-file-validate not installed"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$root/share/metainfo/io.github.brackmoor.Brackmoor.metainfo.xml" \
    || fail "appstreamcli validate"
else
  echo "note: appstreamcli not installed"
fi
if command -v man >/dev/null; then
  for page in brackmoor brackmoor-headless; do
    MANWIDTH=80 man -l "$root/share/man/man6/$page.6" >"$dest.txt" 2>"$dest.man" || fail "man page $page"
    if grep -q 'warning' "$dest.man"; then cat "$dest.man"; fail "man page $page warnings"; fi
    sed -n '/^NAME/,/^SYNOPSIS/p' "$dest.txt" | grep -q -- "$page" || fail "the manual page $page does not name $page"
  done
fi

# The installed game finds ../share/brackmoor/data from wherever it is started.
work="$(mktemp -d)"
(cd "$work" && SDL_AUDIODRIVER=dummy "$root/bin/brackmoor-headless" --frames 5 --save-dir "$work/save" \
   --dump-state "$work/s.json") >"$work/out.log" 2>&1 || { cat "$work/out.log"; rm -rf "$work"; fail "installed game did not run"; }
grep -q '"frame": 5' "$work/s.json" || fail "installed game wrote no state"
# Without data anywhere it says where it looked.
mkdir -p "$work/lonely/bin" && cp "$root/bin/brackmoor-headless" "$work/lonely/bin/"
out="$("$work/lonely/bin/brackmoor-headless" --frames 1 2>&1)"; rc=$?
[ $rc -eq 1 ] || fail "a game without data exited with $rc"
echo "$out" | grep -q "lonely/bin/data" || fail "no list of searched folders: $out"
echo "$out" | grep -q "share/brackmoor/data" || fail "no list of searched folders: $out"
rm -rf "$work"
echo "PASS: install tree"
