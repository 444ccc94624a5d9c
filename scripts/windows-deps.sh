#!/usr/bin/env bash
# Builds SDL 1.2, SDL_mixer (WAV and OGG) and GLEW, with the zlib, libpng, libogg and libvorbis
# they need, for 64-bit Windows from Debian's own source packages, into a prefix that later runs
# reuse. The prefix's name carries the source packages' versions, so a new version builds anew.
# Usage: scripts/windows-deps.sh   (prints the prefix; ORVANE_WINDOWS_DEPS picks its parent)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

host=x86_64-w64-mingw32
sources="libsdl1.2 zlib libpng1.6 libogg libvorbis sdl-mixer1.2 glew"
parent=${ORVANE_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvane/windows-deps}

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
# Debian's source packages: a deb-src entry beside the archive's own, with the same key.
if ! apt-cache showsrc libsdl1.2 2>/dev/null | grep -q '^Version'; then
    list=/etc/apt/sources.list.d/debian.sources
    entry=/etc/apt/sources.list.d/orvane-src.sources
    {
        echo "Types: deb-src"
        grep -m1 '^URIs:' "$list"
        grep -m1 '^Suites:' "$list"
        echo "Components: main"
        grep -m1 '^Signed-By:' "$list"
    } | $sudo tee "$entry" >/dev/null
    $sudo apt-get update >/dev/null
fi

versions=""
for source in $sources; do
    versions="$versions $source=$(apt-cache showsrc "$source" | sed -n 's/^Version: //p' | head -n 1)"
done
# This script's own text counts too: a change in how they are built builds them anew.
key=$(echo "$versions $(sha256sum <"$0")" | sha256sum | cut -c1-12)
prefix=$parent/$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The builds' own output goes to a log, shown when one of them fails.
log=$work/build.log
trap 'echo "Building the Windows libraries failed; the end of the log:" >&2; tail -n 30 "$log" >&2' ERR
rm -rf "$prefix"
mkdir -p "$prefix"
export PATH=$prefix/bin:$PATH
export CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
jobs=$(nproc)

unpack() {
    (cd "$work" && apt-get source -qq "$1" >>"$log" 2>&1)
    find "$work" -mindepth 1 -maxdepth 1 -type d -name "$2*" | head -n 1
}

configure_make() {
    ./configure --host=$host --prefix="$prefix" "$@" >>"$log" 2>&1
    make -j"$jobs" >>"$log" 2>&1
    make install >>"$log" 2>&1
}

dir=$(unpack libsdl1.2 libsdl1.2)
(cd "$dir" && configure_make --disable-static)

dir=$(unpack zlib zlib)
(cd "$dir" && CHOST=$host ./configure --static --prefix="$prefix" >>"$log" 2>&1 &&
    make -j"$jobs" libz.a >>"$log" 2>&1 && make install >>"$log" 2>&1)

dir=$(unpack libpng1.6 libpng1.6)
(cd "$dir" && configure_make --disable-shared)

dir=$(unpack libogg libogg)
(cd "$dir" && configure_make --disable-shared)

dir=$(unpack libvorbis libvorbis)
(cd "$dir" && configure_make --disable-shared --disable-docs --disable-examples)

# The mixer plays WAV and OGG; its decoders are linked in, not loaded at run time, and the
# static vorbisfile needs vorbis and ogg after it.
dir=$(unpack sdl-mixer1.2 sdl-mixer1.2)
(cd "$dir" && LIBS="-lvorbis -logg" ./configure --host=$host --prefix="$prefix" --disable-static \
    --with-sdl-prefix="$prefix" --disable-music-mod --disable-music-midi --disable-music-mp3 \
    --disable-music-flac --disable-music-ogg-shared --disable-music-ogg-tremor \
    --enable-music-ogg >>"$log" 2>&1 && grep -q -e '-DOGG_MUSIC' Makefile &&
    make -j"$jobs" build/libSDL_mixer.la >>"$log" 2>&1 && make install-hdrs install-lib >>"$log" 2>&1)

# GLEW as a DLL with its import library (its static library for this system is built for the DLL).
dir=$(unpack glew glew)
(cd "$dir" && make -j"$jobs" SYSTEM=linux-mingw64 GLEW_DEST="$prefix" glew.lib.shared >>"$log" 2>&1 &&
    make SYSTEM=linux-mingw64 GLEW_DEST="$prefix" install.include >>"$log" 2>&1 &&
    cp lib/glew32.dll "$prefix/bin/" && cp lib/libglew32.dll.a "$prefix/lib/")

touch "$prefix/.complete"
# Prefixes of earlier versions are not needed any more.
find "$parent" -mindepth 1 -maxdepth 1 ! -name "$key" -exec rm -rf {} +
echo "$prefix"
