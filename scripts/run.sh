#!/usr/bin/env bash
# Builds Brisolt.exe and starts it under Wine: on this display if there is
# one, otherwise in Xvfb, where it saves a screenshot and says where it is.
#   --offline   run in a private network whose time page is served locally,
#               for machines without internet access (needs root)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
offline=0
[ "${1:-}" = --offline ] && offline=1

if [ "${BRISOLT_INSIDE:-}" != 1 ]; then
  bash "$root/scripts/setup.sh"
  bash "$root/scripts/build.sh" >/dev/null
  if [ "$offline" = 1 ]; then
    BRISOLT_INSIDE=1 exec unshare --net --mount --propagation private "$0" "$@"
  fi
fi

run="$root/build/run"
mkdir -p "$run"
cp "$root/build/windows/win/Brisolt.exe" "$run/"
export WINEPREFIX="$root/build/run-prefix" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
export TZ=CST-8 LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
pids=()
cleanup() {
  wineserver -k 2>/dev/null || true
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

if [ "$offline" = 1 ]; then
  ip link set lo up
  printf '127.0.0.1 localhost\n127.0.0.1 open.baidu.com\n127.0.0.1 www.baidu.com\n' >"$run/hosts"
  mount --bind "$run/hosts" /etc/hosts
  python3 "$root/scripts/time_page_server.py" & pids+=($!)
fi

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  export DISPLAY=:71
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
  sleep 1
fi
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
wineserver -p

if [ "$headless" = 0 ]; then
  wine explorer /desktop=Brisolt,1280x800 "$run/Brisolt.exe"
  exit 0
fi
wine explorer /desktop=Brisolt,1280x800 "$run/Brisolt.exe" & pids+=($!)
sleep 12
import -window root -display "$DISPLAY" "$run/screenshot.png"
echo "Brisolt ran in Xvfb; screenshot: $run/screenshot.png"
