# Shared by the end-to-end runs: a private X server, the game started from a copy of its folder,
# and the checks a player would make by looking.
# Needs: XDRIVER (the driver), GAME_DIR (the built game folder), OUT_DIR (for screenshots).

set -euo pipefail
unset QT_QPA_PLATFORM  # a real window on the X server, not offscreen
export LC_ALL=C.UTF-8

NAME="ピルネノ翼"
WORK=$(mktemp -d)
XVFB_PID=""
GAME_PID=""

fail() {
  echo "FAIL: $*" >&2
  mkdir -p "$OUT_DIR"
  import -window root "$OUT_DIR/e2e-failure-$(basename "$0" .sh).png" 2>/dev/null || true
  echo "screenshot: $OUT_DIR/e2e-failure-$(basename "$0" .sh).png" >&2
  exit 1
}

cleanup() {
  [[ -n $GAME_PID ]] && kill "$GAME_PID" 2>/dev/null || true
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

start_x() {
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp >"$WORK/xvfb.log" 2>&1 3>"$WORK/display" &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [[ -s $WORK/display ]] && break
    sleep 0.05
  done
  [[ -s $WORK/display ]] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

# Starts the game from a fresh copy of its folder, so its scr.dat is this run's own.
start_game() {
  cp -r "$GAME_DIR" "$WORK/game"
  "$WORK/game/$NAME" >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  read -r WIN WX WY WW WH SCREEN_H < <("$XDRIVER" window "$NAME" 20) || fail "no game window"
}

# Fraction (in percent) of a 10 by 10 grid over the lower part of the window that is black.
black_percent() {
  local black=0 total=0 x y r g b
  for i in $(seq 0 9); do
    for j in $(seq 0 9); do
      x=$((WX + WW * (5 + 10 * i) / 100))
      y=$((WY + WH / 5 + (WH * 4 / 5) * (5 + 10 * j) / 100))
      read -r r g b < <("$XDRIVER" pixel "$x" "$y")
      total=$((total + 1))
      ((r + g + b < 30)) && black=$((black + 1))
    done
  done
  echo $((100 * black / total))
}

click_centre() {
  "$XDRIVER" click $((WX + WW / 2)) $((WY + WH * 3 / 5))
  sleep "${1:-0.3}"
}

close_game() {
  "$XDRIVER" close "$WIN"
  for _ in $(seq 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end after the close request"
  local status=0
  wait "$GAME_PID" || status=$?
  GAME_PID=""
  ((status == 0)) || fail "the game ended with status $status: $(cat "$WORK/game.log")"
}
