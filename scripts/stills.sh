#!/usr/bin/env bash
# Remakes stills of the show with the capture tool:
#   bash scripts/stills.sh golden [SECONDS...]   the golden frames the capture tests compare
#                                                against (tests/capture/golden, 320x240 at 30 fps)
#   bash scripts/stills.sh readme [SECONDS...]   the stills README.md shows (docs/stills, 640x480)
# Without SECONDS it makes again the moments whose stills are in the folder,
# so the moments are written once, as the stills' names; with SECONDS the
# folder's stills are replaced by those moments. Remake the golden frames
# after a change that is meant to change what the show looks like, and look
# at them before committing.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  golden) folder=tests/capture/golden options=(--size 320x240 --fps 30) ;;
  # README's moments show what its captions say: the cast is in view from
  # about 25 s, and the hero points from just after 31.0 s to 32.3 s (at
  # 31.0 s itself he still salutes).
  readme) folder=docs/stills options=(--size 640x480) ;;
  *) echo "usage: stills.sh golden|readme [SECONDS...]" >&2; exit 2 ;;
esac
shift

moments=("$@")
if [ ${#moments[@]} -eq 0 ]; then
  mapfile -t moments < <(find "$folder" -maxdepth 1 -name 'still-*.png' -printf '%f\n' |
    sed -n 's/^still-\([0-9.]*\)\.png$/\1/p' | sort -n)
  [ ${#moments[@]} -gt 0 ] || { echo "stills.sh: no stills in $folder; name the moments" >&2; exit 2; }
fi

bash scripts/build.sh headless >/dev/null
stills=()
for moment in "${moments[@]}"; do
  stills+=(--still "$moment")
done
[ $# -eq 0 ] || rm -f "$folder"/still-*.png
bash scripts/with-x-server.sh build/run/getzorbi-capture --data build/run "${options[@]}" --out "$folder" "${stills[@]}"
ls "$folder"
