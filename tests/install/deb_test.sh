#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it the way a user's machine would meet it:
# the control fields, the files and their owners, the desktop entry, metainfo and manual page, a
# dependency for every library the executables link (and each one satisfied here), lintian when it
# is installed, and the unpacked game playing 60 frames from the package's own data.
#   tests/install/deb_test.sh BUILD_DIR SOURCE_DIR
set -u
build="$(cd "${1:?build folder}" && pwd)"; src="$(cd "${2:?source folder}" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
for tool in cpack dpkg-deb dpkg-query dpkg-shlibdeps objdump ldd file; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs it)"
done

# -- build the package into a folder of its own
(cd "$build" && cpack -G DEB -B "$tmp/out") >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack -G DEB"; }
debs=("$tmp"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, got: ${debs[*]}"
deb="${debs[0]}"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "brackmoor_${version}_${arch}.deb" ] || fail "package file named $(basename "$deb")"
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = brackmoor ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version $(field Version), project $version"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no Maintainer or Description"
depends="$(field Depends)"
[ -n "$depends" ] || fail "no Depends"
# The changelog's newest entry is the version being packaged.
head -n 1 "$src/packaging/deb/changelog" | grep -q "^brackmoor ($version) " \
  || fail "packaging/deb/changelog does not start with version $version"

# -- contents: everything under /usr, owned by root, nothing from the build machine
dpkg-deb --contents "$deb" >"$tmp/contents" || fail "dpkg-deb --contents"
if awk '$2 != "root/root"' "$tmp/contents" | grep -q .; then
  awk '$2 != "root/root"' "$tmp/contents" | head; fail "files not owned by root"
fi
if awk '{print $6}' "$tmp/contents" | grep -v '^\./$' | grep -v '^\./usr/' | grep -q .; then
  fail "files outside /usr"
fi
if grep -E '\.tmp|CMakeFiles|_CPack_' "$tmp/contents"; then fail "build leftovers in the package"; fi

# -- unpack into a clean root
root="$tmp/root"
dpkg-deb --extract "$deb" "$root" || fail "dpkg-deb --extract"
usr="$root/usr"
for f in games/brackmoor games/brackmoor-headless \
         share/applications/io.github.brackmoor.Brackmoor.desktop \
         share/metainfo/io.github.brackmoor.Brackmoor.metainfo.xml \
         share/man/man6/brackmoor.6.gz share/man/man6/brackmoor-headless.6.gz \
         share/doc/brackmoor/copyright share/doc/brackmoor/changelog.gz \
         share/brackmoor/data/font/bkmfont.cff share/brackmoor/data/player/player.png; do
  [ -e "$usr/$f" ] || fail "package lacks /usr/$f"
done
for s in 32 48 64 128 256; do
  [ -s "$usr/share/icons/hicolor/${s}x${s}/apps/brackmoor.png" ] || fail "package lacks the ${s}x${s} icon"
done
# Every data file the build made is in the package.
(cd "$build/data" && find . -type f ! -name '*.tmp*' | sort) >"$tmp/built-data"
(cd "$usr/share/brackmoor/data" && find . -type f | sort) >"$tmp/packed-data"
diff "$tmp/built-data" "$tmp/packed-data" >/dev/null || { diff "$tmp/built-data" "$tmp/packed-data" | head; fail "data differs from the build"; }
for exe in brackmoor brackmoor-headless; do
  file -b "$usr/games/$exe" | grep -q ', stripped' || fail "$exe is not stripped"
done

desktop-file-validate "$usr/share/applications/io.github.brackmoor.Brackmoor.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/io.github.brackmoor.Brackmoor.metainfo.xml" \
  || fail "appstreamcli validate"
if command -v man >/dev/null; then
  MANWIDTH=80 man -l "$usr/share/man/man6/brackmoor-headless.6.gz" >"$tmp/man.txt" 2>"$tmp/man.err" || fail "man page"
  if grep -q warning "$tmp/man.err"; then cat "$tmp/man.err"; fail "man page warnings"; fi
  grep -q 'brackmoor-headless' "$tmp/man.txt" || fail "the manual page does not cover brackmoor-headless"
fi

# -- dependencies: every library an executable links comes from a package named in Depends, and
# every dependency is satisfied on this machine (where the game was built and its tests pass).
dep_names=" $(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/:.*//; s/ //g' | tr '\n' ' ') "
owner_of() {  # the package holding a library file, trying both sides of the /usr merge
  local p="$1" real cand owner; real="$(readlink -f "$p")"
  for cand in "$p" "$real" "${p#/usr}" "/usr$p" "${real#/usr}" "/usr$real"; do
    owner="$(dpkg-query --search "$cand" 2>/dev/null | grep -v '^diversion' | head -n 1 | cut -d: -f1)"
    [ -n "$owner" ] && { echo "$owner"; return 0; }
  done
  return 1
}
for exe in brackmoor brackmoor-headless; do
  needed="$(objdump -p "$usr/games/$exe" | awk '$1 == "NEEDED" {print $2}')"
  [ -n "$needed" ] || fail "$exe links no libraries?"
  for lib in $needed; do
    path="$(ldd "$usr/games/$exe" | awk -v l="$lib" '$1 == l && $2 == "=>" {print $3}')"
    [ -n "$path" ] && [ -e "$path" ] || fail "$exe: $lib not found on this machine"
    pkg="$(owner_of "$path")"
    [ -n "$pkg" ] || fail "$exe: no package owns $path"
    case "$dep_names" in *" $pkg "*) ;; *) fail "$exe links $lib from $pkg, which Depends ($depends) lacks";; esac
  done
done
IFS=',' read -ra clauses <<<"$depends"
for clause in "${clauses[@]}"; do
  ok=0
  IFS='|' read -ra alts <<<"$clause"
  for alt in "${alts[@]}"; do
    name="$(echo "$alt" | sed 's/(.*)//; s/ //g')"
    have="$(dpkg-query -W -f='${Status} ${Version}\n' "$name" 2>/dev/null | awk '$3 == "installed" {print $4; exit}')"
    [ -n "$have" ] || continue
    if [[ "$alt" =~ \((<<|<=|=|>=|>>)\ *([^\)]+)\) ]]; then
      op="${BASH_REMATCH[1]}"; want="${BASH_REMATCH[2]// /}"
      case "$op" in '<<') op=lt;; '<=') op=le;; '=') op=eq;; '>=') op=ge;; '>>') op=gt;; esac
      dpkg --compare-versions "$have" "$op" "$want" || continue
    fi
    ok=1; break
  done
  [ $ok -eq 1 ] || fail "dependency not satisfied here:$clause"
done
echo "Depends: $depends"

if command -v lintian >/dev/null; then
  # Errors and warnings fail; informational tags are shown.
  lintian --fail-on error,warning --display-level '>=info' "$deb" 2>&1 | grep -v 'running with root privileges' \
    | tee "$tmp/lintian.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian"
  # Release builds carry Debian's hardening: no hardening tag, not even an informational one.
  if grep -q 'hardening-' "$tmp/lintian.log"; then fail "lintian reports missing hardening"; fi
else
  echo "note: lintian not installed"
fi

# -- the unpacked game plays from its own data, touching nothing of the user's
work="$tmp/work"; mkdir -p "$work"
(cd "$work" && env HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" \
   SDL_AUDIODRIVER=dummy LP_NUM_THREADS=0 "$usr/games/brackmoor-headless" --frames 60 --seed 1 --verbose \
   --save-dir "$work/save" --dump-state "$work/state.json") >"$work/out.log" 2>"$work/err.log" \
  || { cat "$work/out.log" "$work/err.log"; fail "the installed game did not run"; }
grep -q '"frame": 60' "$work/state.json" || fail "the installed game wrote no state after 60 frames"
grep -qx "brackmoor: data folder: $usr/games/../share/brackmoor/data" "$work/err.log" \
  || { grep 'data folder' "$work/err.log"; fail "the installed game did not use the package's data"; }
if grep '(missing)' "$work/err.log" | grep -v " -> $work/save/"; then fail "data files missing from the package"; fi
# Beyond the folders and files and the drawing counts it reports with --verbose, the game has nothing
# to say.
grep -v -e '^brackmoor: \(settings\|data folder\|save folder\): ' -e '^brackmoor: file .* -> ' \
  -e '^brackmoor: \(GL draw calls\|GL state changes\|quads\) per frame: ' \
  "$work/err.log" >"$work/complaints"
[ -s "$work/complaints" ] && { head "$work/complaints"; fail "the installed game complained"; }
echo "PASS: Debian package"
