#!/usr/bin/env bash
# scripts/check-boundaries against small source trees with one include each: it must fail on
# every crossing between the view folders, in every way an include can be written, and pass
# what the folders may use. Usage: check-boundaries-cases.sh <source root holding the script>
set -euo pipefail
check="$1/scripts/check-boundaries"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# folder of the including file | include line | crosses (1) or holds (0)
cases=(
  'sidebar|#include "OrvelUI/shell/Shell.h"|1'
  'sidebar|#include "Shell.h"|1'
  'sidebar|#include <Shell.h>|1'
  'sidebar|#include "../shell/Shell.h"|1'
  'playback|#  include "OrvelUI/shell/Shell.h"|1'
  'map|#include "OrvelUI/presets/Presets.h"|1'
  'presets|#include "OrvelUI/map/Map.h"|1'
  'playback|#include "OrvelUI/sidebar/Sidebar.h"|1'
  'sidebar|#include "OrvelUI/map/Map.h"|1'
  'common|#include "OrvelUI/playback/Playback.h"|1'
  'common|#include "Presets.h"|1'
  'theme|#include "OrvelUI/common/Common.h"|1'
  'sidebar|#include "OrvelUI/playback/Playback.h"|0'
  'map|#include "OrvelUI/playback/Playback.h"|0'
  'presets|#include "OrvelUI/common/Common.h"|0'
  'common|#include "OrvelUI/theme/Theme.h"|0'
  'shell|#include "OrvelUI/map/Map.h"|0'
  'sidebar|#include "Sidebar.h"|0'
  'map|#include <map>|0'
)

failed=0
for entry in "${cases[@]}"; do
  IFS='|' read -r folder include crosses <<<"$entry"
  root="$work/tree"
  rm -rf "$root"
  for dir in theme common playback sidebar presets map shell; do
    mkdir -p "$root/src/OrvelUI/$dir"
    touch "$root/src/OrvelUI/$dir/${dir^}.h"
  done
  printf '%s\n' "$include" >"$root/src/OrvelUI/$folder/Probe.cpp"
  if "$check" "$root" >"$work/out" 2>&1; then held=1; else held=0; fi
  if ((held == crosses)); then
    echo "FAILED: $folder with '$include' should $( ((crosses)) && echo fail || echo pass):"
    cat "$work/out"
    failed=1
  fi
done
((failed == 0)) && echo "every case as expected"
exit "$failed"
