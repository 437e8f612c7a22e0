#!/usr/bin/env bash
# The layering check: it passes on the tree, fails on every kind of upward include planted into a small tree
# of its own, and lets downward and same-layer includes be.
set -uo pipefail
source_dir=$1
check="$source_dir/scripts/check-layers.sh"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

"$check" "$source_dir" || fail "the tree itself breaks the layering"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# planted file | include line | 1 when the check must fail
cases=(
  'platform/base/a.h|#include "engine/device.h"|1'
  'platform/ui/b.cpp|#include "app/main_window.h"|1'
  'engine/c.cpp|#include "net/email_job.h"|1'
  'engine/ipcam/d.cpp|  #  include <toolkit/slider.h>|1'
  'engine/e.h|#include "app/startup.h"|1'
  'net/f.cpp|#include "toolkit/toolkit.h"|1'
  'net/g.h|#include "app/startup.h"|1'
  'toolkit/h.cpp|#include "app/startup.h"|1'
  'app/i.cpp|#include "net/web_server.h"|0'
  'net/j.cpp|#include "engine/tcp_socket.h"|0'
  'engine/k.cpp|#include "engine/device.h"|0'
  'toolkit/l.cpp|#include "platform/ui/windows.h"|0'
  'engine/m.cpp|// #include "net/email_job.h" is no include|0'
)
for c in "${cases[@]}"; do
  IFS='|' read -r file line must_fail <<<"$c"
  tree="$scratch/tree"
  rm -rf "$tree"
  mkdir -p "$tree/$(dirname "$file")"
  echo "$line" >"$tree/$file"
  output=$("$check" "$tree" 2>&1)
  status=$?
  if [ "$must_fail" = 1 ]; then
    [ $status -ne 0 ] || fail "$file with '$line' passed"
    [[ $output == *"$file:1:"* ]] || fail "$file with '$line' was not named: $output"
  else
    [ $status -eq 0 ] || fail "$file with '$line' failed: $output"
  fi
done

[ $failures -eq 0 ] && echo "layering check: all cases hold"
exit $((failures > 0))
