#!/usr/bin/env bash
# Installs BUILD with DESTDIR into a temporary folder under the prefix /usr, runs the
# installed command-line tool, and checks the manual pages and, for the desktop
# program, its desktop entry, AppStream metadata and icon set. The validators run
# when they are installed (scripts/install-deps.sh brings them).
# Usage: install_check.sh CMAKE BUILD WITH_GUI(0|1)
set -euo pipefail
cmake=$1 build=$2 gui=$3
app=org.bramblewick.Tagwarden

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
DESTDIR=$scratch/root "$cmake" --install "$build" --prefix /usr >/dev/null
usr=$scratch/root/usr

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Runs a validator when it is installed; it must succeed and print no line that
# matches FINDING (an error, warning or hint).
validate() {
  local finding=$1 tool=$2
  shift 2
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    return
  fi
  local output
  if ! output=$("$tool" "$@" 2>&1) || grep -qE "$finding" <<<"$output"; then
    fail "$tool $*: $output"
  fi
}

# The installed tool runs on its own, on a sample it writes itself.
cli=$usr/bin/tagwarden-cli
"$cli" make-sample "$scratch/sample" >/dev/null || fail "installed tagwarden-cli make-sample failed"
listing=$("$cli" list "$scratch/sample/tags.gor") || fail "installed tagwarden-cli list failed"
[[ $listing == 0$'\t'* ]] || fail "installed tagwarden-cli list printed '${listing:0:80}'"

# Manual pages: in place, free of groff warnings, and every command of the tool documented.
check_man_page() {
  local page=$usr/share/man/man1/$1.1.gz
  [ -s "$page" ] || { fail "no manual page $page"; return; }
  local warnings
  warnings=$(gzip -dc "$page" | groff -man -ww -z 2>&1) || fail "groff failed on $page"
  [ -z "$warnings" ] || fail "groff warns on $page: $warnings"
}
check_man_page tagwarden-cli
commands=$("$cli" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && NF { print $1 }')
[ -n "$commands" ] || fail "tagwarden-cli --help names no command"
for command in $commands; do
  gzip -dc "$usr/share/man/man1/tagwarden-cli.1.gz" | grep -q "^\.BI $command " ||
    fail "the manual page of tagwarden-cli does not describe '$command'"
done

if [ "$gui" = 1 ]; then
  [ -x "$usr/bin/tagwarden" ] || fail "tagwarden is not installed"
  check_man_page tagwarden

  desktop=$usr/share/applications/$app.desktop
  validate . desktop-file-validate "$desktop"
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$usr/bin/$exec_program" ] || fail "the desktop entry starts '$exec_program', which is not installed"
  grep -qx "Icon=$app" "$desktop" || fail "the desktop entry does not name the icon $app"

  metainfo=$usr/share/metainfo/$app.metainfo.xml
  validate "^[EWI]: " appstreamcli validate --no-net --no-color "$metainfo"
  grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
    fail "the AppStream metadata does not launch $app.desktop"

  icons=$usr/share/icons/hicolor
  grep -q '<svg' "$icons/scalable/apps/$app.svg" 2>/dev/null || fail "no scalable icon"
  # Each PNG's width and height (bytes 16..23 of the file) match its folder's NxN.
  shopt -s nullglob
  for png in "$icons"/*x*/apps/$app.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
    actual=$(((w0 << 24 | w1 << 16 | w2 << 8 | w3)))x$(((h0 << 24 | h1 << 16 | h2 << 8 | h3)))
    [ "$actual" = "$size" ] || fail "$png is $actual"
  done
  for size in 16x16 256x256; do
    [ -f "$icons/$size/apps/$app.png" ] || fail "no $size icon"
  done
fi

[ "$failures" -eq 0 ] || exit 1
echo "install tree complete"
