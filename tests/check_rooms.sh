#!/usr/bin/env bash
# Checks the rooms' includes against the order they are built in: a room
# includes only from itself and the rooms it is built on, and only a
# system's own folder (posix/, win32/, wx/) includes from such a folder.
# Run by ctest (RoomsTest); prints every include that breaks the order.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A BUILT_ON=(
  [text]=""
  [system]="text"
  [model]="text"
  [formats]="model system text"
  [inspect]="formats model system text"
  [frontends]="system text"
  [search]="system text"
  [app]="search frontends inspect formats model system text"
  [fuzz]="formats model system text"
  [bench]="app search frontends inspect formats model system text"
)

status=0
for room in "${!BUILT_ON[@]}"; do
  [ -d "$room" ] || continue
  while IFS= read -r -d '' file; do
    while IFS= read -r target; do
      other=${target%%/*}
      [ -n "${BUILT_ON[$other]+set}" ] || continue  # not a room (the build's own headers)
      if [ "$other" != "$room" ] && [[ " ${BUILT_ON[$room]} " != *" $other "* ]]; then
        echo "$file includes $target: $room is not built on $other" >&2
        status=1
      fi
      if [[ "$target" =~ /(posix|win32|wx)/ ]] && ! [[ "$file" =~ /(posix|win32|wx)/ ]]; then
        echo "$file includes $target: only a system's own folder includes from one" >&2
        status=1
      fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done < <(find "$room" \( -name '*.cpp' -o -name '*.h' \) -print0)
done
exit "$status"
