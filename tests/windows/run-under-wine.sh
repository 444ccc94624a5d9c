#!/usr/bin/env bash
# Runs one program of the Windows package under wine the way the end-to-end tests run a Linux
# program: from the current directory, so that Data/ and shaders/ are found there; the log that
# the program writes to stdout.txt beside its executable comes out on standard output while it
# grows, and stderr.txt on standard error (both with Linux line ends); SIGTERM closes the
# window as its close button would; the exit status is the program's.
# A console program's output passes straight through.
# Usage: run-under-wine.sh PACKAGE BUILD NAME [ARGUMENT...]
#   (NAME.exe from the package, or from BUILD with the package's DLLs)
set -u
package=$1
build=$2
name=$3
shift 3
program=$package/$name.exe
if [ ! -f "$program" ]; then
    program=$build/$name.exe
fi
# A folder of its own for each run, so that stdout.txt and stderr.txt are this run's.
dir=$(mktemp -d)
cp "$program" "$dir/"
ln -s "$package"/*.dll "$dir/"
wine "$dir/$name.exe" "$@" > >(sed -u 's/\r$//') 2>/dev/null &
pid=$!
trap 'wine taskkill /im "$name.exe" >/dev/null 2>&1' TERM
follow() {
    tail -F -q -s 0.05 -n +1 --pid=$pid "$dir/$1" 2>/dev/null | sed -u 's/\r$//'
}
follow stdout.txt &
copier=$!
follow stderr.txt >&2 &
errors=$!
while :; do
    wait $pid
    status=$?
    kill -0 $pid 2>/dev/null || break
done
wait $copier $errors
rm -rf "$dir"
exit $status
