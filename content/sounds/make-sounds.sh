#!/bin/bash
# Regenerates the game's seven sounds from nothing but sox and espeak-ng:
#   apt-get install sox espeak-ng
#   content/sounds/make-sounds.sh            # writes the WAVs beside itself
# The WAVs are committed, so the build needs neither program; run this again
# after changing a sound and commit the results together.
#
# The game reads a WAV through a fixed 44-byte header, so every file is plain
# 16-bit mono PCM at 22050 Hz with nothing between the format and the data
# chunk; the last step checks that. Effects peak at -3 dBFS, the intro music
# a little lower so it sits under the pictures.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Work files are 32-bit float at 44100 Hz (sox's plucked string wants that
# rate), so no step clips; only the finished sound is made 16-bit at 22050.
rate=44100
out=(-r "$rate" -c 1 -b 32 -e floating-point)
# Repeatable mode: noise and dither start from fixed seeds, so a run with the
# same programs writes the same bytes.
sox() { command sox -R "$@"; }

# Writes the last argument from the second-to-last, normalised to $peak dBFS.
finish() {
    local peak=$1 from=$2 to=$3
    sox "$from" -r 22050 -c 1 -b 16 -e signed-integer "$to" rate 22050 gain -n "$peak"
}

# The passage door: a soft airy swoosh rising and falling, noise swept by a
# phaser; long enough to cover the jump into another maze.
sox -n "${out[@]}" "$work/door.wav" synth 1.1 pinknoise \
    highpass 250 lowpass 2600 gain -6 phaser 0.6 0.6 3 0.5 0.6 -t \
    fade q 0.35 1.1 0.6 tremolo 1.2 30
finish -3 "$work/door.wav" "$here/Spacdoor.wav"

# "Superb!": a spoken word, bright and a little roomy.
espeak-ng -v en-gb -s 130 -p 60 -a 100 -w "$work/superb-voice.wav" "Superb!"
sox "$work/superb-voice.wav" "${out[@]}" "$work/superb.wav" \
    gain -8 highpass 120 treble 3 compand 0.02,0.2 -60,-60,-30,-14,0,-4 0 -90 0.02 reverb 25 50 60 pad 0 0.2 silence 1 0.01 0.1%
finish -3 "$work/superb.wav" "$here/Superb.wav"

# Applause: ten clappers, each a train of short band-passed noise bursts at
# its own slightly uneven pace, mixed and faded out. The unevenness comes
# from a small fixed-seed generator, so every run makes the same file.
seed=1969
random_below() {  # sets $draw to a number from 0 to $1 - 1
    seed=$(((seed * 1103515245 + 12345) % 2147483648))
    draw=$(((seed / 65536) % $1))
}
sox -n "${out[@]}" "$work/clap.wav" synth 0.03 whitenoise fade 0 0.03 0.026 bandpass 1400 1.2
clappers=()
for c in $(seq 1 10); do
    random_below 200
    sox -n "${out[@]}" "$work/lead$c.wav" trim 0 "0.$(printf '%03d' "$draw")"
    parts=("$work/lead$c.wav")
    for k in $(seq 1 16); do
        random_below 90
        sox -n "${out[@]}" "$work/gap$c-$k.wav" trim 0 "0.$((150 + draw))"
        random_below 1400
        cutoff=$((1000 + draw))
        random_below 5
        sox "$work/clap.wav" "$work/clap$c-$k.wav" bandpass "$cutoff" 1.5 vol "0.$((5 + draw))"
        parts+=("$work/clap$c-$k.wav" "$work/gap$c-$k.wav")
    done
    sox "${parts[@]}" "$work/clapper$c.wav"
    clappers+=("$work/clapper$c.wav")
done
sox -m "${clappers[@]}" "$work/applause-raw.wav"
sox "$work/applause-raw.wav" "$work/applause.wav" gain -8 compand 0.005,0.3 -70,-70,-40,-22,0,-8 0 -90 0.01 reverb 30 50 70 trim 0 3.2 fade q 0.1 3.2 1.2
finish -3 "$work/applause.wav" "$here/Applause.wav"

# The cow: a low sawtooth drifting down in pitch through two vowel-like
# resonances, the mouth closed at the start ("mm") and opening ("ooo").
sox -n "${out[@]}" "$work/moo-source.wav" synth 1.6 sawtooth 150-118 tremolo 5 20
sox "$work/moo-source.wav" "$work/moo-open.wav" \
    gain -20 lowpass 1100 lowpass 1100 equalizer 450 1q +10 equalizer 800 1.5q +6 fade q 0.35 1.6 0.5
sox "$work/moo-source.wav" "$work/moo-closed.wav" gain -12 lowpass 300 lowpass 300 trim 0 0.45 fade q 0.05 0.45 0.25
sox -m "$work/moo-closed.wav" "$work/moo-open.wav" "$work/moo.wav" gain -6 reverb 20 50 40
finish -3 "$work/moo.wav" "$here/Cow.wav"

# The cry for a fall: a spoken "aaargh" whose pitch drops as it goes.
espeak-ng -v en-gb -s 110 -p 80 -a 100 -w "$work/argh-voice.wav" "Aaaaaargh!"
sox "$work/argh-voice.wav" "${out[@]}" "$work/argh.wav" \
    gain -8 bend 0.15,-700,0.7 reverb 20 50 50 fade q 0 -0 0.2
finish -3 "$work/argh.wav" "$here/Argh.wav"

# The alarm for a wrong answer: a two-tone "uh-oh" beep, three times,
# rounded sine tones rather than a harsh square so it stays friendly.
for tone in 784 587; do
    sox -r "$rate" -c 2 -n "${out[@]}" "$work/beep$tone.wav" synth 0.16 sine "$tone" sine "$((tone * 2))" \
        remix - fade q 0.01 0.16 0.04
done
sox "$work/beep784.wav" "$work/beep587.wav" "$work/beep784.wav" "$work/beep587.wav" \
    "$work/beep784.wav" "$work/beep587.wav" "$work/alarm.wav" gain -6 reverb 10
finish -8 "$work/alarm.wav" "$here/alarm.wav"

# The intro music: 20 seconds at 96 beats a minute in C major, eight bars of
# C, Am, F, G (two bars each): plucked arpeggios over a soft sine pad, a bell
# melody on top, then a final C chord that rings out for three seconds.
eighth=0.3125
# Semitones from A4 (440 Hz) of the notes used.
declare -A note=([C3]=-21 [D3]=-19 [E3]=-17 [F3]=-16 [G3]=-14 [A3]=-12 [B3]=-10
                 [C4]=-9 [D4]=-7 [E4]=-5 [F4]=-4 [G4]=-2 [A4]=0 [B4]=2
                 [C5]=3 [D5]=5 [E5]=7 [F5]=8 [G5]=10 [A5]=12)
# Each chord: the arpeggio's four notes, played up and down over a bar.
chords=("C3 G3 C4 E4" "A3 E4 A4 C5" "F3 C4 F4 A4" "G3 D4 G4 B4")
pads=("C4 E4 G4" "A3 C4 E4" "F3 A3 C4" "G3 B3 D4")
# The melody, one entry per quarter note (two eighths); "-" holds.
melody=(E5 - D5 C5  G4 - C5 D5  E5 - A4 C5  E5 - D5 -
        F5 - E5 C5  A4 - C5 -   D5 - B4 G4  D5 - - -)

arp=()
pad=()
i=0
for rep in 1; do
    for c in 0 1 2 3; do
        read -r a b cc d <<<"${chords[$c]}"
        for bar in 1 2; do
            for n in "$a" "$b" "$cc" "$d" "$cc" "$b" "$cc" "$d"; do
                f="$work/arp$i.wav"
                sox -n "${out[@]}" "$f" synth "$eighth" pluck "%${note[$n]}" fade q 0.005 "$eighth" 0.05 vol 0.5
                arp+=("$f")
                i=$((i + 1))
            done
        done
        read -r p q r <<<"${pads[$c]}"
        f="$work/pad$c-$rep.wav"
        sox -r "$rate" -c 3 -n "${out[@]}" "$f" synth 5 sine "%${note[$p]}" sine "%${note[$q]}" sine "%${note[$r]}" \
            remix - tremolo 4 15 fade q 0.6 5 0.8 vol 0.35
        pad+=("$f")
    done
done

bell=()
k=0
while [ $k -lt ${#melody[@]} ]; do
    n=${melody[$k]}
    length=1
    while [ $((k + length)) -lt ${#melody[@]} ] && [ "${melody[$((k + length))]}" = "-" ]; do
        length=$((length + 1))
    done
    seconds=$(echo "$length * 2 * $eighth" | bc -l)
    f="$work/bell$k.wav"
    sox -r "$rate" -c 2 -n "${out[@]}" "$f" synth "$seconds" sine "%${note[$n]}" sine "%$((note[$n] + 12))" \
        remix 1v0.8 2v0.2 fade q 0.01 "$seconds" "$(echo "$seconds * 0.7" | bc -l)" vol 0.45
    bell+=("$f")
    k=$((k + length))
done

sox -r "$rate" -c 5 -n "${out[@]}" "$work/final.wav" synth 3.5 pluck %-21 pluck %-9 pluck %-5 pluck %-2 pluck %3 \
    remix - fade q 0.005 3.5 2.5
sox "${arp[@]}" "$work/final.wav" "$work/arp-all.wav"
sox "${pad[@]}" "$work/pad-all.wav"
sox "${bell[@]}" "$work/bell-all.wav"
# Plucked strings ring up to the top of the band, so the mix is dulled a
# little before the room is added.
sox -m "$work/arp-all.wav" "$work/pad-all.wav" "$work/bell-all.wav" "$work/music.wav" \
    gain -8 lowpass 5000 reverb 40 50 80 trim 0 23.4 fade q 0 23.4 2
finish -4 "$work/music.wav" "$here/intro.wav"

# Every file must have its sample data at byte 44.
for f in Spacdoor Superb Applause Cow Argh alarm intro; do
    tag=$(dd if="$here/$f.wav" bs=1 skip=36 count=4 2>/dev/null)
    if [ "$tag" != "data" ]; then
        echo "$f.wav: the data chunk is not at byte 36" >&2
        exit 1
    fi
    printf '%-14s %s s\n' "$f.wav" "$(soxi -D "$here/$f.wav")"
done
