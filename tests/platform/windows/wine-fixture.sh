#!/bin/sh
# Wine for the Windows tests, in a prefix of its own under the build folder.
#   wine-fixture.sh start <prefix> <locale folder>   creates the prefix, leaves a server running
#   wine-fixture.sh stop <prefix>                    ends every Wine process of the prefix
set -eu
export WINEPREFIX="$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
case "$1" in
start)
    # Wine takes the user's language from the C library's locale, which must exist.
    if [ ! -d "$3/zh_TW.UTF-8" ]; then
        mkdir -p "$3"
        localedef -i zh_TW -f UTF-8 "$3/zh_TW.UTF-8"
    fi
    # A server left by an interrupted run would keep the wait below from ending.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    # Everything Wine starts in the background gets no stream of ctest's: ctest waits for
    # its output pipes to close.
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
    wineserver -p >/dev/null 2>&1 </dev/null
    wineboot >/dev/null 2>&1 </dev/null
    ;;
stop)
    wineserver -k || true
    wineserver -w
    ;;
*)
    exit 2
    ;;
esac
