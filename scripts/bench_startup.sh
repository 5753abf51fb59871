#!/usr/bin/env bash
# Start-up time and memory at rest of Brisolt.exe under Wine, beside a minimal
# Win32 window program (needs root for the private namespaces).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" >/dev/null
exec python3 "$root/tests/bench/startup_bench.py" --build "$root/build" "$@"
