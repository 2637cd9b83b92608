#!/usr/bin/env bash
# Formats the tree's C++ (src, tools, tests, benchmarks, fuzz) with clang-format 14 and the
# .clang-format at the root:
#   scripts/format.sh            rewrites every file that is not formatted
#   scripts/format.sh --check    changes nothing; lists each file that is not formatted and exits 1
#                                when there is one
# CLANG_FORMAT names another clang-format binary.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "usage: scripts/format.sh [--check]" >&2; exit 2 ;;
esac

cf="${CLANG_FORMAT:-}"
if [ -z "$cf" ]; then
  for c in clang-format-14 clang-format; do
    if command -v "$c" > /dev/null; then cf="$c"; break; fi
  done
fi
if [ -z "$cf" ]; then
  echo "format.sh: clang-format 14 is not installed (apt-get install clang-format-14)" >&2
  exit 2
fi
version="$("$cf" --version)"
case "$version" in
  *"version 14."*) ;;
  *) echo "format.sh: warning: $cf is not version 14 ($version); its output may differ" >&2 ;;
esac

cd "$here"
mapfile -d '' files < <(find src tools tests benchmarks fuzz -type f \
  \( -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.h' -o -name '*.hpp' \) -print0 2>/dev/null | sort -z)
if [ ${#files[@]} -eq 0 ]; then
  echo "format.sh: no C++ files found under $here" >&2
  exit 2
fi

if [ "$check" -eq 0 ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$cf" -i --style=file
  echo "formatted ${#files[@]} files"
  exit 0
fi

bad=0
for f in "${files[@]}"; do
  if ! "$cf" --style=file --dry-run --Werror "$f" > /dev/null 2>&1; then
    echo "not formatted: $f"
    bad=$((bad + 1))
  fi
done
if [ "$bad" -gt 0 ]; then
  echo "$bad of ${#files[@]} files are not formatted (scripts/format.sh formats them)" >&2
  exit 1
fi
echo "all ${#files[@]} files are formatted"
