#!/usr/bin/env bash
# Fails on an include that points up a layer. The layers, lowest first: platform < engine < net < toolkit <
# app. A layer may include its own headers and those of the layers below it; it reports upward only through
# seams that a higher layer installs. Usage: check-layers.sh [tree root, default the checkout this is in].
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
layers=(platform engine net toolkit app)

status=0
for ((i = 0; i < ${#layers[@]} - 1; i++)); do
  layer=${layers[i]}
  [ -d "$root/$layer" ] || continue
  above=$(IFS='|'; echo "${layers[*]:i+1}")
  # Each hit is "file:line:text"; paths are shown from the tree's root.
  if hits=$(cd "$root" && grep -rnE --include='*.h' --include='*.cpp' --include='*.c' \
              "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($above)/" "$layer"); then
    while IFS= read -r hit; do
      echo "layering: $layer may not include a higher layer: $hit" >&2
    done <<<"$hits"
    status=1
  fi
done
exit $status
