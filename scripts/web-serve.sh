#!/usr/bin/env bash
# Serves a built web page on this machine only: scripts/web-serve.sh OUT_DIR [PORT]
# then open http://127.0.0.1:PORT/ (8080 unless given).
set -euo pipefail
dir="${1:?usage: scripts/web-serve.sh OUT_DIR [PORT]}"
port="${2:-8080}"
[ -f "$dir/index.html" ] || { echo "No web page in $dir (build it with scripts/web-build.sh $dir)" >&2; exit 1; }
echo "Serving $dir at http://127.0.0.1:$port/"
exec python3 -m http.server --bind 127.0.0.1 --directory "$dir" "$port"
