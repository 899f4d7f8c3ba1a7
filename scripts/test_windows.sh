#!/usr/bin/env bash
# The Windows build of the core and the command line (MinGW-w64), its tests run
# under Wine, one bounded run each, its output compared with the Linux build's,
# and its zip. Called as `scripts/test.sh windows`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh windows

echo "== Windows build =="
cmake --preset windows >/dev/null
cmake --build --preset windows
# The Linux command line, to compare with.
cmake --preset ci >/dev/null
cmake --build --preset ci --target tagwarden-cli

# A prefix of the build's own, prepared once; no Mono or Gecko dialogs.
export WINEPREFIX="$PWD/build/windows/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's server and its background services outlive the program that started
# them: started here first, apart from the tests' pipes, and stopped at the end
# whatever happens, so that nothing waits on them.
trap 'wineserver -k 2>/dev/null || true' EXIT
mkdir -p "$WINEPREFIX"
# Exit 2 means a server already runs for this prefix, which serves as well.
wineserver -p </dev/null >/dev/null 2>&1 || [ $? -eq 2 ]
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot -i >"$PWD/build/windows/wineboot.log" 2>&1
fi
timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1  # the services up before the first timed test

echo "== Windows tests under Wine =="
set +e
# Now and then Wine fails to start a test's process or never lets it end (no
# output at all; the same test passes thousands of times in one process), so a
# failed test runs again, at most three times in all; each run shows in the log.
ctest --preset windows --repeat until-pass:3 --output-junit "$PWD/build/windows/ctest.xml"
tests_passed=$?
set -e
python3 - build/windows/ctest.xml <<'PY'
import sys, xml.etree.ElementTree as ET
cases = ET.parse(sys.argv[1]).getroot().iter("testcase")
ran = passed = 0
skipped = {}
for case in cases:
    ran += 1
    status = case.get("status")
    if status == "run":
        passed += 1
    elif status in ("skipped", "notrun", "disabled"):
        lines = (case.findtext("system-out") or "").splitlines()
        # GoogleTest: "file:line: Skipped", then the reason.
        after = [lines[i + 1] for i, line in enumerate(lines[:-1]) if line.endswith(": Skipped")]
        skipped[case.get("name")] = after[0].strip() if after else "(no reason given)"
print(f"Windows tests under Wine: {ran} run, {passed} passed, {len(skipped)} skipped, {ran - passed - len(skipped)} failed")
for name, reason in skipped.items():
    print(f"  skipped {name}: {reason}")
PY

echo "== Linux and Wine compared =="
python3 scripts/compare_wine.py build/ci/src/cli/tagwarden-cli build/windows/src/cli/tagwarden-cli.exe \
  build/windows/tests/tagwarden_share_holder.exe

echo "== Windows zip =="
(cd build/windows && cpack -G ZIP | tail -1)
exit $tests_passed
