#!/usr/bin/env bash
# Runs the road test in a Wine prefix made fresh for it, with a wineserver of its own, on the
# display that the test run provides.
set -euo pipefail
source "$(dirname "$0")/../../scripts/env.sh"
rm -rf "$BUILD/wineprefix-road"
wine_prefix "$BUILD/wineprefix-road"
trap stop_wineserver EXIT
start_wineserver
wine "$1" --gtest_color=no
