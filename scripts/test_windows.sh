#!/usr/bin/env bash
# Cross-builds the Windows programs (scripts/windows.sh) and runs their tests
# under Wine, in an X server of its own with Mesa's llvmpipe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
echo "== Windows build, tested under Wine"
bash "$root/scripts/windows.sh"
export LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1280x720x24 -noreset" bash "$root/tests/windows/windows_test.sh" "$root/build-windows" "$root/build"
