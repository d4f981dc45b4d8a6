#!/usr/bin/env bash
# run-test.sh <sandbox dir> <offscreen|xvfb> <test binary> [args...]
# Gives the test a fresh HOME and runtime folder, then runs it offscreen or on Xvfb.
set -eu
sandbox=$1 mode=$2
shift 2
rm -rf "$sandbox"
mkdir -p "$sandbox/home" "$sandbox/run"
chmod 700 "$sandbox/run"
export HOME="$sandbox/home" XDG_RUNTIME_DIR="$sandbox/run"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export QT_QUICK_BACKEND=software QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
if [ "$(id -u)" = 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$sandbox"
if [ "$mode" = xvfb ]; then
    unset QT_QPA_PLATFORM
    exec xvfb-run -a -s "-screen 0 1600x900x24" "$@"
fi
export QT_QPA_PLATFORM=offscreen
exec "$@"
