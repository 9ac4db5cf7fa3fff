#!/usr/bin/env bash
# The source folders depend on each other one way only:
#   app -> views, reports -> plots -> session -> analysis -> records
#   recorder -> records
# and the core folders (records, analysis, session, recorder) use QtCore only.
# Lists every include that goes against that and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A allowed=(
  [records]="records"
  [analysis]="analysis records"
  [session]="session analysis records"
  [recorder]="recorder records"
  [plots]="plots session analysis records"
  [views]="views plots session analysis records"
  [reports]="reports views plots session analysis records"
)
status=0
for folder in "${!allowed[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS= read -r target; do
      case " ${allowed[$folder]} " in
        *" $target "*) ;;
        *) echo "$file includes $target/"; status=1 ;;
      esac
    done < <(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$file")
    case "$folder" in
      records|analysis|session|recorder)
        if grep -Eq '^#include <Q(Gui|Widgets|PrintSupport|Painter|Image|Pixmap|Font|Color|Widget|Printer)' "$file"; then
          echo "$file uses more of Qt than QtCore"; status=1
        fi ;;
    esac
  done
done
exit $status
