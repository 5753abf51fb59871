#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Safe to run again: each step checks first and does nothing when done.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake g++ ninja-build pkg-config
  googletest libgtest-dev libjpeg62-turbo-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nasm
  wine wine64 xvfb xauth x11-utils imagemagick fonts-wqy-zenhei locales
  python3 iproute2 util-linux procps
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Chinese texts render under Wine only in a zh_CN locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi

# Debian ships no mingw build of libjpeg: fetch the source package with apt's
# own client into a private folder, without touching the machine's sources.
deps="$root/.deps"
if ! ls -d "$deps"/libjpeg-turbo-*/CMakeLists.txt >/dev/null 2>&1; then
  apt_dir="$deps/apt"
  mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial"
  # The machine's own Debian sources, as source entries.
  for f in /etc/apt/sources.list.d/*.sources; do
    grep -q 'debian-archive-keyring' "$f" 2>/dev/null || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" >"$apt_dir/sources/$(basename "$f")"
  done
  opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources"
        -o "Dir::State::Lists=$apt_dir/lists" -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" update -qq
  (cd "$deps" && apt-get "${opts[@]}" source -qq libjpeg-turbo >/dev/null)
fi
