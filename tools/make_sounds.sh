#!/usr/bin/env bash
# Generates the engine's own test sounds with sox: a short WAV blip for sound effects and a short
# OGG arpeggio for music. -R fixes sox's random numbers so that reruns give identical files.
# Usage: tools/make_sounds.sh   (needs sox with its OGG handler, Debian's libsox-fmt-all)
set -euo pipefail
cd "$(dirname "$0")/.."
out=Data/Sounds
mkdir -p "$out"

# 0.12 s of 880 Hz, mono, 16-bit, faded at both ends so that it does not click.
sox -R -n -r 22050 -c 1 -b 16 "$out/blip.wav" \
    synth 0.12 sine 880 fade t 0.005 0.12 0.04 vol 0.6

# A rising C major arpeggio, 1.25 s, stereo at the mixer's rate, lowest Vorbis quality.
sox -R -n -r 22050 -c 2 -C -1 "$out/tune.ogg" \
    synth 0.25 sine 523.25 : synth 0.25 sine 659.25 : synth 0.25 sine 783.99 : \
    synth 0.5 sine 1046.5 fade t 0.01 0 0.1 vol 0.5

ls -l "$out/blip.wav" "$out/tune.ogg"
