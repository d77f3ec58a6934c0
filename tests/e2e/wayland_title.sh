#!/usr/bin/env bash
# The real program on a headless Wayland desktop: its window comes up with the title picture,
# and the system's request to quit ends it as on X11.
source "$(dirname "$0")/lib.sh"
unset DISPLAY
export XDG_RUNTIME_DIR=$WORK/runtime WAYLAND_DISPLAY=pirune-e2e-$$
mkdir -m 700 "$XDG_RUNTIME_DIR" shots

weston --backend=headless-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --idle-time=0 \
  --debug >weston.log 2>&1 &
CHILDREN+=($!)
poll 10 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start"

# The desktop as weston draws it, into shot.png.
shot() { (cd shots && weston-screenshooter >/dev/null 2>&1) && mv shots/*.png shot.png; }

launch g QT_QPA_PLATFORM=wayland
poll 20 shows stt || fail "no window with the title picture"
# The desktop as the test saw it, and where the title was found in it.
mkdir -p "$OUT_DIR" && cp shot.png "$OUT_DIR/e2e-wayland-title.png"
echo "title picture at $BOX, seen $SEEN; the desktop: $OUT_DIR/e2e-wayland-title.png"
# The window is made after the game has caught the system's requests to quit: the title shown,
# SIGTERM is the game's to handle.
kill -TERM "$GAME"
ends "$GAME" 10
