#!/bin/sh
# Runs a Qt test on a virtual X display with the openbox window manager, so
# that windows get real frames. Without xvfb-run or openbox the test runs
# as it is and skips, saying what it misses.
if command -v xvfb-run >/dev/null 2>&1 && command -v openbox >/dev/null 2>&1; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    QT_QPA_PLATFORM=xcb "$@"
    rc=$?
    kill $wm 2>/dev/null
    wait $wm 2>/dev/null
    exit $rc' sh "$@"
fi
QT_QPA_PLATFORM=xcb exec "$@"
