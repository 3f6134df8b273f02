#!/usr/bin/env bash
# Checks that every include between subsystems of Classes/ points down the layers, and that
# nothing in Platform/ includes Classes/. Screens may open one another, so the screen subsystems
# share one floor; the shell that builds them sits above.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A floor=(
  [Json]=0 [Pictures]=0
  [ServiceClient]=1 [Util]=1
  [Records]=2
  [LocalState]=3
  [Location]=4 [Toolkit]=4
  [Search]=5 [Shop]=5 [PhotoBrowser]=5 [Broadcasts]=5 [Coupons]=5 [Account]=5
  [Shell]=6
)
screens=5

status=0
if grep -rn '#include "Classes/' Platform >/dev/null; then
  grep -rn '#include "Classes/' Platform
  echo "Platform/ must not include Classes/" >&2
  status=1
fi

while IFS= read -r line; do
  file=${line%%:*}
  from=$(cut -d/ -f2 <<<"$file")
  to=$(sed -E 's#.*"Classes/([^/]+)/.*#\1#' <<<"$line")
  [ "$from" = "$to" ] && continue
  for dir in "$from" "$to"; do
    if [ -z "${floor[$dir]+set}" ]; then
      echo "Classes/$dir has no floor in scripts/check-layers.sh" >&2
      status=1
      continue 2
    fi
  done
  if [ "${floor[$to]}" -gt "${floor[$from]}" ] ||
    { [ "${floor[$to]}" -eq "${floor[$from]}" ] && [ "${floor[$from]}" -ne $screens ]; }; then
    echo "upward include: $line" >&2
    status=1
  fi
done < <(grep -rn '#include "Classes/' Classes --include='*.h' --include='*.cpp')

[ $status -eq 0 ] && echo "layers: every include of Classes/ points down"
exit $status
