#!/usr/bin/env bash
# Builds the scr.dat fuzzer with clang and libFuzzer into build/fuzz/ and runs it for a bounded
# time on a copy of tests/fuzz/corpus/. Fails when the build fails or the fuzzer finds a crash,
# a leak, undefined behaviour or a broken round trip; the input that did it is kept in
# build/fuzz/artifacts/.
#   tests/fuzz/run-fuzz.sh [seconds]     default 40
# New inputs the run found stay in build/fuzz/corpus/; merge the useful ones by hand:
#   build/fuzz/scr_dat_fuzzer -merge=1 tests/fuzz/corpus build/fuzz/corpus
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/../.."

seconds=${1:-40}
out=build/fuzz
# shellcheck disable=SC2054  # the commas belong to the options
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
  -Wall -Wextra -Wpedantic -I src)
# fitName lives with the ranking entry, which needs the whole window: the fuzzer links the core.
sources=(tests/fuzz/scr_dat_fuzzer.cpp src/*/*.cpp)

mkdir -p "$out/obj"

# Compiles one source unless its object is newer than the source and every header it read.
compile() {
  local source=$1 object=$2
  if [[ -f $object && -f $object.d ]]; then
    local stale=0 dep
    # shellcheck disable=SC2013  # make's dependency lists are words, not lines
    for dep in $(sed -e 's/^[^:]*://' -e 's/\\$//' "$object.d"); do
      if [[ ! -e $dep || $dep -nt $object ]]; then
        stale=1
        break
      fi
    done
    [[ $stale -eq 0 ]] && return 0
  fi
  clang++ "${flags[@]}" -c -MMD -MF "$object.d" "$source" -o "$object"
}

objects=()
failed=0
running=0
for source in "${sources[@]}"; do
  object="$out/obj/$(echo "${source%.cpp}" | tr / _).o"
  objects+=("$object")
  compile "$source" "$object" &
  if ((++running >= $(nproc))); then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while ((running > 0)); do
  wait -n || failed=1
  running=$((running - 1))
done
if [[ $failed -ne 0 ]]; then
  echo "run-fuzz: the fuzzer did not build" >&2
  exit 1
fi

fuzzer="$out/scr_dat_fuzzer"
relink=0
[[ -f $fuzzer ]] || relink=1
for object in "${objects[@]}"; do
  [[ $object -nt $fuzzer ]] && relink=1
done
if [[ $relink -ne 0 ]]; then
  clang++ "${flags[@]}" "${objects[@]}" -o "$fuzzer"
fi

# The corpus in the repository is only read: the run works on a fresh copy.
rm -rf "$out/corpus" "$out/artifacts"
cp -r tests/fuzz/corpus "$out/corpus"
mkdir -p "$out/artifacts"

# Saving the ranking syncs to the disk twice; on a memory file system that costs nothing and the
# fuzzer runs about twenty times as many inputs.
tmp_base=/dev/shm
[[ -d $tmp_base && -w $tmp_base ]] || tmp_base=$out
tmp=$(mktemp -d "$tmp_base/pirune-fuzz.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

status=0
TMPDIR=$tmp ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=512 -print_final_stats=1 \
  -artifact_prefix="$out/artifacts/" "$out/corpus" 2>"$out/fuzz.log" || status=$?

grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::|Done )' "$out/fuzz.log" || true
if [[ $status -ne 0 ]] || [[ -n $(ls -A "$out/artifacts") ]]; then
  tail -n 60 "$out/fuzz.log" >&2
  echo "run-fuzz: the fuzzer found a fault; inputs in $out/artifacts/, log in $out/fuzz.log" >&2
  exit 1
fi
echo "run-fuzz: no fault found; new inputs, if any, are in $out/corpus/"
