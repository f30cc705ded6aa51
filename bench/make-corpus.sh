#!/bin/bash
# Makes the benchmark corpus from what this machine has: files of 1 to 10 MiB.
#   bench/make-corpus.sh <folder>
# text.txt      4 MiB of manual pages (roff source, plain text)
# cmake.exe     the cmake executable (x86-64 code and data), at most 10 MiB
# library.so    the C++ runtime shared library
# image.bmp     a 1024x768 24-bit BMP of a fractal plasma (photo-like noise)
# random.bin    1 MiB of random bytes
# zeros.bin     1 MiB of zero bytes
set -euo pipefail

out=${1:?usage: make-corpus.sh <folder>}
mkdir -p "$out"
MiB=$((1024 * 1024))

# zcat fails with SIGPIPE once head has enough; that is expected.
{ find /usr/share/man/man1 /usr/share/man/man3 /usr/share/man/man8 -name '*.gz' -print0 2>/dev/null |
    sort -z | xargs -0 zcat 2>/dev/null || true; } | head -c $((4 * MiB)) > "$out/text.txt"

head -c $((10 * MiB)) "$(command -v cmake)" > "$out/cmake.exe"

library=$(g++ -print-file-name=libstdc++.so)
head -c $((10 * MiB)) "$(readlink -f "$library")" > "$out/library.so"

convert -seed 1 -size 1024x768 plasma:fractal -type TrueColor "BMP3:$out/image.bmp"

head -c $MiB /dev/urandom > "$out/random.bin"
head -c $MiB /dev/zero > "$out/zeros.bin"

for f in text.txt cmake.exe library.so image.bmp random.bin zeros.bin; do
    size=$(stat -c %s "$out/$f")
    if [ "$size" -lt "$MiB" ] || [ "$size" -gt $((10 * MiB)) ]; then
        echo "make-corpus: $f has $size bytes, outside 1 to 10 MiB" >&2
        exit 1
    fi
done
ls -l "$out"
