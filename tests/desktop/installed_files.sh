#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what the desktop reads there: the menu
# entry, the software-centre description, the file type of bases and the icons.
# Usage: installed_files.sh <build folder>
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

desktop-file-validate "$share/applications/org.velmora.Velmora.desktop"
appstreamcli validate --no-net --no-color "$share/metainfo/org.velmora.Velmora.metainfo.xml"
test -x "$prefix/bin/velmora"
grep -qx 'Exec=velmora %f' "$share/applications/org.velmora.Velmora.desktop"

# The file type: a .vlm file is a Velmora base, and the menu entry opens that type.
update-mime-database "$share/mime"
grep -q '^application/x-velmora-base:\*\.vlm$' "$share/mime/globs"
grep -q 'MimeType=application/x-velmora-base;' "$share/applications/org.velmora.Velmora.desktop"

# Icons: the scalable one and every PNG size, each a PNG of its own size.
grep -q '<svg' "$share/icons/hicolor/scalable/apps/org.velmora.Velmora.svg"
for size in 16 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/org.velmora.Velmora.png
    head -c 8 "$png" | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a'
    width=$(od -An -j16 -N4 -tu1 "$png" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    [ "$width" -eq "$size" ] || { echo "$png is $width pixels wide"; exit 1; }
done
echo "installed files are valid"
