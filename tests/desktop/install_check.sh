#!/bin/bash
# Installs the build into a scratch prefix and checks the layout a desktop
# expects: the binary, the artwork and sounds, the launcher entry, the icons,
# the AppStream metadata and its screenshots, the manual page. Runs both
# validators on what was installed, and checks that the installed binary
# draws with the installed artwork, not the build tree's.
#   install_check.sh BUILD_DIR VOLTWISE SCRATCH APP_ID
set -euo pipefail
build=$1 voltwise=$2 scratch=$3 id=$4
rm -rf "$scratch"
mkdir -p "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# A PNG's width and height, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }

bin=$prefix/bin/voltwise
data=$prefix/share/voltwise
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
man=$prefix/share/man/man1/voltwise.1
for f in "$bin" "$data/battery_empty_4.png" "$data/battery_empty_4@2x.png" "$data/green_skin.png" \
         "$data/voltwise_sound.wav" "$data/saxophone_cool_riff_1.mp3" "$desktop" "$metainfo" "$man" \
         "$prefix/share/icons/hicolor/scalable/apps/$id.svg"; do
  [[ -f $f ]] || fail "not installed: $f"
done
[[ -x $bin ]] || fail "the binary is not executable"
if [[ -n $(find "$prefix" -name '*.tmp' -o -name .generated) ]]; then
  fail "build bookkeeping was installed"
fi

# Icons: every hicolor size, each a PNG of that size; the SVG is an SVG.
for s in 16 22 24 32 48 64 128 256 512; do
  icon=$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png
  if [[ ! -f $icon ]]; then fail "no ${s}px icon"; continue; fi
  [[ $(png_size "$icon") == "${s}x${s}" ]] || fail "$icon is $(png_size "$icon"), not ${s}x${s}"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is not SVG"
grep -q '<image' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" && fail "the scalable icon holds a bitmap"

# The launcher entry: valid, and it names the installed binary and icon.
desktop-file-validate "$desktop" >"$scratch/desktop-file-validate.log" 2>&1 || true
if [[ -s $scratch/desktop-file-validate.log ]]; then fail "desktop-file-validate:"; cat "$scratch/desktop-file-validate.log"; fi
grep -qx 'Exec=voltwise' "$desktop" || fail "the entry does not run voltwise"
grep -qx "Icon=$id" "$desktop" || fail "the entry does not name the icon $id"
grep -q '^Keywords=.*battery;.*power;.*charge;' "$desktop" || fail "the entry lacks the battery, power and charge keywords"

# The AppStream metadata: valid, pedantically; its release is the binary's
# version; its launchable is the entry; its screenshots are installed beside it.
if ! appstreamcli validate --no-net --pedantic "$metainfo" >"$scratch/appstream.log" 2>&1; then
  fail "appstreamcli validate:"; cat "$scratch/appstream.log"
fi
version=$("$bin" --version | awk '{print $2}')
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not version $version"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the launchable is not $id.desktop"
shots=0
for url in $(grep -o '<image[^>]*>[^<]*</image>' "$metainfo" | sed 's/<[^>]*>//g'); do
  shot=$data/screenshots/$(basename "$url")
  shots=$((shots + 1))
  if [[ ! -f $shot ]]; then fail "screenshot $(basename "$url") is not installed"; continue; fi
  [[ $(png_size "$shot") == 640x960 ]] || fail "$shot is $(png_size "$shot"), not 640x960"
done
[[ $shots -ge 1 ]] || fail "the metadata shows no screenshot"

# The manual page: formats without a warning, and says what --help says.
if ! groff -man -ww -z "$man" >"$scratch/groff.log" 2>&1 || [[ -s $scratch/groff.log ]]; then
  fail "groff warns about the manual page:"; cat "$scratch/groff.log"
fi
for o in $("$bin" --help | grep -oE '^  (-h, )?--[a-z-]+' | sed 's/.*--/--/'); do
  grep -qF -- "$(echo "$o" | sed 's/-/\\-/g')" "$man" || fail "the manual page lacks $o"
done

# A staged install (DESTDIR) lands under the staging folder.
DESTDIR=$scratch/stage cmake --install "$build" --prefix /usr >/dev/null
[[ -x $scratch/stage/usr/bin/voltwise && -f $scratch/stage/usr/share/applications/$id.desktop ]] ||
  fail "DESTDIR is not honoured"
rm -rf "$scratch/stage"

# The installed binary draws with the installed artwork.
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
"$voltwise" --config /dev/null --screenshot "$scratch/built.png" --settings "$scratch/a.json" >/dev/null
"$bin" --config /dev/null --screenshot "$scratch/installed.png" --settings "$scratch/b.json" >/dev/null
cmp -s "$scratch/built.png" "$scratch/installed.png" || fail "the installed binary draws differently"

# Take the default skin out of the installed copy only: if the installed
# binary reads the installed folder, its picture changes.
rm "$data/green_skin.png" "$data/green_skin@2x.png"
"$bin" --config /dev/null --screenshot "$scratch/without.png" --settings "$scratch/c.json" >/dev/null
if cmp -s "$scratch/built.png" "$scratch/without.png"; then
  fail "the installed binary ignores its installed artwork"
fi
[[ $failures -eq 0 ]] || exit 1
echo "installed to $prefix: validated, and drawn from $data"
