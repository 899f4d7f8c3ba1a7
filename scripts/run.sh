#!/usr/bin/env bash
# Builds Tagwarden (optimised), makes a sample tags directory (build/sample) and starts the
# program on it, the sample archive open. Its settings live in build/run-config, so the first "Open a File"
# proposes the sample's tags.gor and your own Tagwarden settings are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tagwarden tagwarden-cli

sample=$root/build/sample
[ -f "$sample/tags.gor" ] || build/release/src/cli/tagwarden-cli make-sample "$sample"

# Settings in QSettings' INI form; values quoted so that any path reads back as written.
ini_value() {
  local value=${1//\\/\\\\}
  printf '"%s"' "${value//\"/\\\"}"
}
config=$root/build/run-config
mkdir -p "$config/Bramblewick"
cat >"$config/Bramblewick/Tagwarden.conf" <<EOF
[Settings]
VornPath=$(ini_value "$sample/")
Backup=$(ini_value "$sample/Backup/")
ASCII=0
AllowMods=1
Overwrite=0
EOF

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "Tagwarden is built, but there is no display to show it on (DISPLAY is not set)." >&2
  echo "Run this from a desktop session, or on a virtual one: xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi
echo "Starting Tagwarden on the sample in $sample"
XDG_CONFIG_HOME=$config exec build/release/src/gui/tagwarden "$sample/tags.gor"
