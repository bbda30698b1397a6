#!/usr/bin/env bash
# Builds the fuzz targets with clang (address, undefined, libFuzzer) and runs
# each for a bounded time from its seed corpus in fuzz/corpus/<name>/ (and,
# for the bitmap reader, the generated bitmaps).
# Usage: fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-fuzz}
seconds=${2:-${QF_FUZZ_SECONDS:-60}}
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DQF_SANITIZE=ON -DQF_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
targets=()
for src in "$root"/fuzz/*_fuzz.cpp; do
  [[ -e "$src" ]] || continue
  targets+=("$(basename "$src" .cpp)")
done
((${#targets[@]})) || { echo "fuzz: no targets"; exit 0; }
# The media the build generates are the game's real input: its bitmaps seed
# the bitmap reader too.
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}" quillfrost_media
for t in "${targets[@]}"; do
  work="$dir/corpus-$t"
  mkdir -p "$work"
  seeds="$root/fuzz/corpus/${t%_fuzz}"
  [[ -d "$seeds" ]] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
  [[ $t == bmp_image_fuzz ]] && cp "$dir"/media/*.bmp "$work"/
  echo "fuzz: $t for ${seconds}s"
  "$dir/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$dir/$t-" "$work" 2>&1 \
    | grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added|[a-z_]+_fuzz: |==[0-9]+==ERROR|SUMMARY)' || true
  # libFuzzer exits non-zero on a finding; the pipe above hides it, so check again.
  if compgen -G "$dir/$t-crash-*" >/dev/null || compgen -G "$dir/$t-leak-*" >/dev/null || compgen -G "$dir/$t-timeout-*" >/dev/null; then
    echo "fuzz: $t found a failing input:"; ls "$dir/$t"-*; exit 1
  fi
done
