#!/usr/bin/env bash
# Builds every fuzz target (fuzz/*_fuzzer.cpp) with the "fuzz" preset and runs each
# for SECONDS seconds on a corpus seeded from a fresh sample tags directory and the
# target's saved crash inputs (fuzz/regressions/NAME/). Fails when a target crashes.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${TAGWARDEN_FUZZ_BUILD:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2

seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
"$build/src/cli/tagwarden-cli" make-sample "$seeds/sample" >/dev/null
# Every file of the sample (the archive and each plug-in) is one seed.
while IFS= read -r -d '' file; do
  name=${file#"$seeds/sample/"}
  cp "$file" "$seeds/seed-${name//\//-}"
done < <(find "$seeds/sample" -type f -print0)
# The full archive is longer than an input may be; its last 64 directory headers
# behind a file header that points at them make a short archive to start from.
archive="$seeds/sample/tags.gor"
{ head -c 40 "$archive"; printf '\x00\x00\x00\x40'; head -c 64 "$archive" | tail -c 20; tail -c 4096 "$archive"; } \
  >"$seeds/seed-short-archive"
rm -rf "$seeds/sample"
# Room for the sample's map plug-in (its first section is larger than 51200 bytes).
max_len=131072

failed=()
for source in fuzz/*_fuzzer.cpp; do
  name=$(basename "$source" .cpp)
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name/"
  mkdir -p "$corpus" "$artifacts"
  inputs=("$corpus" "$seeds")
  [ -d "fuzz/regressions/$name" ] && inputs+=("fuzz/regressions/$name")
  options=(-max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048
           -artifact_prefix="$artifacts" -print_final_stats=1)
  [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
  echo "== $name: ${seconds}s =="
  if ! "$build/fuzz/$name" "${options[@]}" "${inputs[@]}"; then
    echo "$name crashed; the input is in $artifacts: copy it to fuzz/regressions/$name/ so the tests replay it" >&2
    failed+=("$name")
  fi
done

[ ${#failed[@]} -eq 0 ] || { echo "fuzz targets that crashed: ${failed[*]}" >&2; exit 1; }
echo "all fuzz targets ran clean"
