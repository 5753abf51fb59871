#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it: a prefix of
# the build's own, Beijing time, a Chinese locale, no debug noise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Beijing time in a form that both Wine and the C runtime inside it read
# alike (the runtime takes "Asia/Shanghai" for UTC).
export TZ=CST-8
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# One prefix set-up at a time, even when tests start together.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
) 9>"$WINEPREFIX.lock"

exec wine "$@"
