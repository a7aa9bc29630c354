#!/bin/bash
# Renders the maze views the intro's scenes are made from (hall.png,
# caves.png, garden.png, quest.png beside this script) with the game's own
# renderer. Run after a build, then commit the PNGs:
#   content/pictures/make-views.sh build/krvtool build/game
# The views show every quiz object at once: the shots are taken in a copy of
# the game folder whose logic file has all objects active and whose intro and
# questions are left empty.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
krvtool=$(realpath "$1")
game=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$game/." "$work/"
# The active line is the third after an object's header.
awk 'BEGIN { object = -10 } /^O/ { object = NR } NR == object + 3 { $0 = "1" } { print }' "$game/Data/krv.lgk" > "$work/Data/krv.lgk"
printf -- '-\n0\n0\n0\n' > "$work/Data/krv.int"
: > "$work/Data/krv.qry"

shot() {
    local name=$1; shift
    "$krvtool" shot "$work" "$@" --out "$here/$name"
}
# Turns are clockwise seen from above, from the start view north.
shot hall.png --maze 0 --eye 700,40,-330 --turn 20 --look 0
shot caves.png --maze 1 --eye 415,40,-680 --turn 30 --look 0
shot garden.png --maze 2 --eye 815,40,-180 --turn 0 --look 0
shot quest.png --maze 2 --eye 765,40,-160 --turn 10 --look 0
