#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# core, the Windows layer under Wine, the fuzz target and the end-to-end runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
# A GUI case under Wine can rarely lose its X server's start to load; it
# gets a second try, and a real fault fails both.
ctest --test-dir build --output-on-failure -j2 --repeat until-pass:2
