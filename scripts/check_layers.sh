#!/usr/bin/env bash
# Checks that the folders depend one way. Bottom-up, each folder's code includes only its own
# folder and those below it; a test may also include the shared test helpers (tests/) and the
# fuzz targets' drivers whose saved inputs it replays (fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
order=(base db tags hitlist html settings ui plugin tool)
rank() {
  local i
  for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}
bad=0
for dir in "${order[@]}"; do
  mine=$(rank "$dir")
  while IFS=: read -r file included; do
    target=${included#*\"}
    target=${target%%/*}
    case "$target" in resources) continue ;; esac
    case "$file" in
      *_test.cpp | *test_util* | */test_*.h) case "$target" in tests | fuzz) continue ;; esac ;;
    esac
    theirs=$(rank "$target")
    if [ "$theirs" -lt 0 ] || [ "$theirs" -gt "$mine" ]; then
      echo "check_layers: $file includes $target/ (above $dir/ or outside the layers)" >&2
      bad=1
    fi
  done < <(git grep -E '^#include "[a-z_]+/' -- "$dir/" || true)
done
[ "$bad" -eq 0 ] && echo "check_layers: ${order[*]}: every include points down"
exit "$bad"
