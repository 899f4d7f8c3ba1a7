#!/usr/bin/env bash
# Builds every fuzz target (fuzz/*_fuzzer.cpp) with the "fuzz" preset and runs each
# for SECONDS seconds, with its dictionary (fuzz/NAME.dict), inputs no longer than
# it reads, and a corpus seeded from a fresh sample tags directory, its committed
# seeds (fuzz/seeds/NAME/) and its saved crash inputs (fuzz/regressions/NAME/).
# Prints each target's executions and rate; fails when a target crashes.
# Usage: scripts/fuzz.sh [SECONDS [NAME...]]   (default 60 seconds, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || for source in fuzz/*_fuzzer.cpp; do targets+=("$(basename "$source" .cpp)"); done
build=${TAGWARDEN_FUZZ_BUILD:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sample="$work/sample"
"$build/src/cli/tagwarden-cli" make-sample "$sample" >/dev/null
archive="$sample/tags.gor"

# Seeds by kind: archives, and the plug-ins of each editor.
mkdir -p "$work/archives" "$work/mons" "$work/stli" "$work/mesh" "$work/cli"
for kind in mons stli mesh; do
  cp "$sample/local/$kind/"* "$work/$kind/"
  cp "$sample/local/$kind/"* "$work/archives/"  # a plug-in is a one-tag archive too
done
# The full archive is longer than an input may be; its last 64 directory headers
# behind a file header that points at them make a short archive to start from
# (fuzz/seeds/ holds one with its first tags' data).
{ head -c 40 "$archive"; printf '\x00\x00\x00\x40'; head -c 64 "$archive" | tail -c 20; tail -c 4096 "$archive"; } \
  >"$work/archives/directory-tail"
# The command line's inputs: a selector line, then an archive.
short=fuzz/seeds/archive_fuzzer/first-tags
second=$("$build/src/cli/tagwarden-cli" list "$short" | awk -F'\t' 'NR == 2 { print $2 ":" $3 }')
for selector in 3 "$second"; do
  { printf '%s\n' "$selector"; cat "$short"; } >"$work/cli/seed-${selector//:/-}"
done

# Per target: its sample seeds and its longest input, which fits what it reads.
seeds_of() {
  case $1 in
    archive_fuzzer | viewer_fuzzer) echo "$work/archives 4160" ;;  # file header, 64 tag headers or data
    cli_fuzzer) echo "$work/cli 4224" ;;  # a selector line and such an archive
    mons_fuzzer) echo "$work/mons 1024" ;;  # header, 512-byte block, some tail
    stli_fuzzer) echo "$work/stli 4096" ;;
    stli_file_fuzzer) echo "$work/stli 4160" ;;  # header and a 4 KiB list
    mesh_fuzzer) echo "$work/mesh 73728" ;;  # the sample's map, 71188 bytes
    *) echo "- 256" ;;  # names and paths
  esac
}

failed=()
summary=()
for name in "${targets[@]}"; do
  read -r sample_seeds max_len <<<"$(seeds_of "$name")"
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name/"
  mkdir -p "$corpus" "$artifacts"
  inputs=("$corpus")
  [ "$sample_seeds" = - ] || inputs+=("$sample_seeds")
  for folder in "fuzz/seeds/$name" "fuzz/regressions/$name"; do
    [ -d "$folder" ] && inputs+=("$folder")
  done
  options=(-max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048
           -artifact_prefix="$artifacts" -print_final_stats=1)
  [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
  echo "== $name: ${seconds}s, inputs up to $max_len bytes =="
  log="$work/$name.log"
  status=0
  "$build/fuzz/$name" "${options[@]}" "${inputs[@]}" >"$log" 2>&1 || status=$?
  grep -v '^#[0-9]' "$log" || true  # all but the progress lines
  if [ "$status" -ne 0 ]; then
    echo "$name crashed; the input is in $artifacts: copy it to fuzz/regressions/$name/ so the tests replay it" >&2
    failed+=("$name")
  fi
  runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
  rate=$(awk '/stat::average_exec_per_sec/ { print $2 }' "$log")
  summary+=("$(printf '%-22s %12s runs %8s/s' "$name" "${runs:-?}" "${rate:-?}")")
done

echo "== executions in ${seconds}s =="
printf '%s\n' "${summary[@]}"
[ ${#failed[@]} -eq 0 ] || { echo "fuzz targets that crashed: ${failed[*]}" >&2; exit 1; }
echo "all fuzz targets ran clean"
