#!/usr/bin/env bash
# Accuracy of a calibration: how far the time handed to SetLocalTime lies from
# the true time, over many calibrations against a local time page that serves
# the host's own clock. Prints min, median and max in milliseconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" >/dev/null
"$root/scripts/wine-run.sh" "$root/build/windows/tests/bench/calibration_accuracy.exe" "${1:-200}"
