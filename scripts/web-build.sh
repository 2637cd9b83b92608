#!/usr/bin/env bash
# Builds the game as a web page into OUT_DIR (index.html is the game), with Debian's emscripten.
#   scripts/web-build.sh OUT_DIR
# The data folder comes from a native build (BRACKMOOR_NATIVE_BUILD, default build/, made if
# missing); its music modules are rendered to Ogg Vorbis with their loop points for the page.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:?usage: scripts/web-build.sh OUT_DIR}"
native="${BRACKMOOR_NATIVE_BUILD:-$here/build}"
webbuild="${BRACKMOOR_WEB_BUILD:-$here/build-web}"
jobs="$(nproc 2>/dev/null || echo 2)"

packages=(
  build-essential cmake pkg-config libsdl1.2-dev libsdl-mixer1.2-dev libsdl-image1.2-dev
  libosmesa6-dev libpng-dev zlib1g-dev espeak-ng sox xmp vorbis-tools emscripten
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
command -v node >/dev/null || missing+=(nodejs)  # emcc runs on Node (any package that gives it)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# 1. The game's data, made by the native tools.
if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRACKMOOR_TESTS=OFF \
    -DBRACKMOOR_BENCHMARKS=OFF -DBRACKMOOR_WINDOW=OFF "${launcher[@]}"
fi
cmake --build "$native" -j "$jobs" --target data

# 2. The web's copy of it: every module rendered once through (its intro, then its loop up to the
#    point where it jumps back) and encoded as Ogg Vorbis; NAME.loop gives the loop's first and
#    end sample and the rate.
webdata="$webbuild/data"
mkdir -p "$webbuild"
rm -rf "$webdata.new"
cp -r "$native/data" "$webdata.new"
tmpwav="$(mktemp -d)"
trap 'rm -rf "$tmpwav"' EXIT
while IFS= read -r -d '' xm; do
  base="${xm%.*}"
  restart="$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(); print(struct.unpack("<H",d[66:68])[0])' "$xm")"
  xmp -q -o "$tmpwav/full.wav" "$xm" >/dev/null
  total="$(soxi -s "$tmpwav/full.wav")"
  loopStart=0
  if [ "$restart" -gt 0 ]; then
    xmp -q -s "$restart" -o "$tmpwav/loop.wav" "$xm" >/dev/null
    loopStart=$(( total - $(soxi -s "$tmpwav/loop.wav") ))
  fi
  oggenc -Q -q 1 -o "$base.ogg" "$tmpwav/full.wav"
  echo "$loopStart $total 44100" > "$base.loop"
  rm -f "$xm"
done < <(find "$webdata.new" -iname '*.xm' -print0)
# Replaced only when it changed, so an unchanged data folder does not repack the page.
if [ -d "$webdata" ] && diff -rq "$webdata" "$webdata.new" >/dev/null 2>&1; then
  rm -rf "$webdata.new"
else
  rm -rf "$webdata"
  mv "$webdata.new" "$webdata"
fi

# 3. The program, compiled to WebAssembly (emcc needs Node's modules from Debian's folder).
export NODE_PATH=/usr/share/nodejs
if [ ! -f "$webbuild/CMakeCache.txt" ]; then
  emcmake cmake -S "$here" -B "$webbuild" -DCMAKE_BUILD_TYPE=Release -DBRACKMOOR_WEB_DATA="$webdata" "${launcher[@]}"
fi
cmake --build "$webbuild" -j "$jobs" --target brackmoor

mkdir -p "$out"
for f in index.html page.js page.css brackmoor.js brackmoor.wasm brackmoor.data; do
  cp "$webbuild/$f" "$out/$f"
done
echo "The web page is in $out (open it through scripts/web-serve.sh $out)"
