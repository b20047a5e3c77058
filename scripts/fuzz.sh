#!/bin/sh
# Builds the libFuzzer targets with clang into build-fuzz/ and runs one of them:
#   ./scripts/fuzz.sh TARGET [SECONDS]   (TARGET: model_3ds, picture, texture_alpha, terrain)
# The run starts from the kept corpus in fuzz/corpus/TARGET/ and seeds made from the baked data
# (build/run/data, from ./scripts/build.sh) and from ImageMagick and assimp; afterwards the corpus
# is minimised into a fresh folder that replaces the kept one. Crashes land in build-fuzz/findings/.
set -e
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh model_3ds|picture|texture_alpha|terrain [SECONDS]}
seconds=${2:-600}
root=$(pwd)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_BUILD_FUZZERS=ON \
  -DDEMO_BUILD_TESTS=OFF -DDEMO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "fuzz_$target"

seeds="$root/build-fuzz/seeds/$target"
work="$root/build-fuzz/corpus/$target"
kept="$root/fuzz/corpus/$target"
mkdir -p "$seeds" "$work" "$kept" "$root/build-fuzz/findings"
"$root/scripts/fuzz-seeds.sh" "$target" "$seeds"

# Inputs stay small: the readers' every branch is reachable within a few kilobytes, and the kept
# corpus stays small enough for the repository.
max_len=8192
[ "$target" = model_3ds ] || max_len=16384

# The targets log and print as the program does: run them in the build folder, quietly, with
# the log sent nowhere.
cd "$root/build-fuzz"
rm -f debug.txt && ln -s /dev/null debug.txt
"./fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 -timeout=10 \
  -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$root/build-fuzz/findings/$target-" \
  "$work" "$kept" "$seeds"
# Minimised into a fresh folder from the inputs within the length limit (large seeds only start
# the run off).
staged="$root/build-fuzz/staged/$target"
rm -rf "$staged" "$kept.new" && mkdir -p "$staged" "$kept.new"
for folder in "$work" "$kept" "$seeds"; do
  find "$folder" -type f -size -"$((max_len + 1))"c -exec cp -f -t "$staged" {} +
done
"./fuzz/fuzz_$target" -merge=1 -max_len="$max_len" -close_fd_mask=3 "$kept.new" "$staged" >/dev/null 2>&1
rm -rf "$kept" && mv "$kept.new" "$kept"
files=$(ls "$kept" | wc -l)
bytes=$(cat "$kept"/* | wc -c)
echo "kept corpus: $files files, $bytes bytes"
