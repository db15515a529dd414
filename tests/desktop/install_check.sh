#!/bin/bash
# Installs the build into a scratch prefix and checks that the installed
# binary draws with the installed artwork, not the build tree's.
#   install_check.sh BUILD_DIR VOLTWISE SCRATCH
set -euo pipefail
build=$1 voltwise=$2 scratch=$3
rm -rf "$scratch"
mkdir -p "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"

bin=$prefix/bin/voltwise
data=$prefix/share/voltwise
for f in "$bin" "$data/battery_empty_4.png" "$data/battery_empty_4@2x.png" "$data/green_skin.png" \
         "$data/voltwise_sound.wav" "$data/saxophone_cool_riff_1.mp3"; do
  [[ -f $f ]] || { echo "not installed: $f"; exit 1; }
done
if [[ -e $data/.generated ]] || compgen -G "$data/*.tmp" >/dev/null; then
  echo "build bookkeeping was installed"; exit 1
fi

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
"$voltwise" --screenshot "$scratch/built.png" --settings "$scratch/a.json"
"$bin" --screenshot "$scratch/installed.png" --settings "$scratch/b.json"
cmp -s "$scratch/built.png" "$scratch/installed.png" || { echo "the installed binary draws differently"; exit 1; }

# Take the default skin out of the installed copy only: if the installed
# binary reads the installed folder, its picture changes.
rm "$data/green_skin.png" "$data/green_skin@2x.png"
"$bin" --screenshot "$scratch/without.png" --settings "$scratch/c.json"
if cmp -s "$scratch/built.png" "$scratch/without.png"; then
  echo "the installed binary ignores its installed artwork"; exit 1
fi
echo "installed to $prefix and drawn from $data"
