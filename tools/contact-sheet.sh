#!/usr/bin/env bash
# Lays every generated image out at the scale the game draws it, on the game's black, for a look.
# Usage: tools/contact-sheet.sh ASSETS_DIR OUT.png
set -euo pipefail
assets=$1 out=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
i=0
add() { # file scale
    i=$((i + 1))
    convert "$assets/$1" -filter point -resize "$(awk "BEGIN {print $2 * 100}")%" "$tmp/$(printf %03d $i).png"
}
for f in ghost-idle ghost-move ghost-Sheet ghostHurt-Sheet ghostDead-Sheet; do add "sprite/$f.png" 2; done
add "effect/184_3.png" 1
add "effect/1764.png" 2
add "effect/Thunderstrike w blur.png" 3
for b in A_Start A_Credits A_Quit; do for k in 1 2 3; do add "UI/$b$k.png" 2; done; done
for b in A_Pause A_Restart A_Back; do for k in 1 2 3; do add "UI/$b$k.png" 1; done; done
add "UI/Textfield_01.png" 1
for f in bar_bg bar_red bar_blue; do add "UI/$f.png" 3; done
add "UI/Red Potion.png" 0.5
add "UI/Blue Potion.png" 0.5
add "UI/Electric-Icon.png" 0.14
add "UI/29.png" 1
add "UI/30.png" 1
add "UI/pointer_c_shaded.png" 1
montage "$tmp"/*.png -background '#101018' -tile 3x -geometry +6+6 -gravity west "$out"
