#!/usr/bin/env bash
# Sets up (packages, build) and starts the game. Extra arguments go to the game, e.g. ./play.sh --fullscreen
# Only what playing needs is installed and built; ./run-tests.sh sets up the rest.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
log="$here/build-setup.log"

# Shows each step of the set-up and the build's progress; every line goes to the log as well.
show_progress() {
  local line pct shown=-1 bar
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    if [[ "$line" == "==> "* ]]; then
      [ "$shown" -ge 0 ] && [ -t 1 ] && printf '\n'
      shown=-1
      printf '%s\n' "${line#==> }"
    elif [[ "$line" =~ ^\[\ *([0-9]+)%\] ]]; then
      pct=${BASH_REMATCH[1]}
      [ "$pct" -gt "$shown" ] || continue
      if [ -t 1 ]; then
        printf -v bar '%*s' $((pct * 40 / 100)) ''
        printf '\r  [%-40s] %3d%%' "${bar// /#}" "$pct"
      elif [ $((pct / 10)) -gt $((shown / 10)) ] || [ "$shown" -lt 0 ]; then
        printf '  %d%%\n' "$pct"
      fi
      shown=$pct
    fi
  done
  [ "$shown" -ge 0 ] && [ -t 1 ] && printf '\n'
  return 0
}

echo "Brackmoor: the first start installs what is missing and builds the game from source, one to two" \
     "minutes on an idle 2-core machine (longer on a busy one); later starts take seconds." \
     "The details go to build-setup.log."
: >"$log"
if ! "$here/scripts/setup.sh" --game "$here/build" 2>&1 | show_progress; then
  echo "Setting up failed. The end of build-setup.log:"
  tail -n 25 "$log"
  exit 1
fi
echo "Starting the game."
exec "$here/build/brackmoor" "$@"
