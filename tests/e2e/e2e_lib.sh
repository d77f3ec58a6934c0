# Shared by the end-to-end runs: a private X server, the game started from a copy of its folder,
# and the looks, clicks and keys of a player, through the driver.
# Needs: XDRIVER (the driver), GAME_DIR (the built game folder), OUT_DIR (for screenshots).

set -euo pipefail
unset QT_QPA_PLATFORM  # a real window on the X server, not offscreen
export LC_ALL=C.UTF-8

NAME="ピルネノ翼"
RUN=$(basename "$0" .sh)
WORK=$(mktemp -d)
XVFB_PID=""
GAME_PID=""
WIN=""
STARTED=${EPOCHREALTIME/./}
# Waits are long enough for a loaded machine; they end as soon as the screen is so.
PATIENCE=${E2E_PATIENCE:-8}

say() { printf '[%5ss] %s\n' "$(elapsed)" "$*"; }

elapsed() {
  local now=${EPOCHREALTIME/./}
  printf '%d.%d' $(((now - STARTED) / 1000000)) $(((now - STARTED) / 100000 % 10))
}

fail() {
  echo "FAIL ($RUN, after $(elapsed) s): $*" >&2
  mkdir -p "$OUT_DIR"
  local shot="$OUT_DIR/e2e-failure-$RUN.png"
  if import -window root "$shot" 2>/dev/null; then
    echo "screenshot: $shot" >&2
  fi
  if [[ -n $WIN ]]; then
    echo "readings: $("$XDRIVER" look "$WIN" 2>&1 || true)" >&2
  fi
  if [[ -s $WORK/game.log ]]; then
    echo "game output:" >&2
    tail -n 20 "$WORK/game.log" >&2
  fi
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
  for _ in $(seq 200); do
    [[ -s $WORK/display ]] && break
    sleep 0.05
  done
  [[ -s $WORK/display ]] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

# A fresh copy of the game's folder, so that its scr.dat is this run's own.
copy_game() {
  rm -rf "$WORK/game"
  cp -r "$GAME_DIR" "$WORK/game"
  export XDRIVER_PICTURES="$WORK/game"
}

# Starts the game in its folder and waits for its window, found by its title, and the title
# screen in it.
launch_game() {
  "$WORK/game/$NAME" >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  read -r WIN WX WY WW WH SCREEN_H SCREEN_W < <("$XDRIVER" window "$NAME" 20) ||
    fail "no game window"
  see "the title picture" pic=stt
  read -r CX CY CW CH BAR < <("$XDRIVER" client "$WIN") || fail "no client area"
  local titles
  read -r -a titles < <("$XDRIVER" bar "$WIN") || fail "no menu bar"
  ((${#titles[@]} == 5)) || fail "the menu bar shows $((${#titles[@]} - 1)) titles, not 4"
  BAR_Y=${titles[0]} MENU_X=${titles[1]} OPTIONS_X=${titles[2]} FRESH_X=${titles[3]}
  RANKING_X=${titles[4]}
}

start_game() {
  copy_game
  launch_game
}

# The title screen as it is now, to know it again later: "differs" in the readings.
keep_title() {
  "$XDRIVER" snap "$WIN" "$WORK/title.ppm" || fail "no picture of the title"
  export XDRIVER_REFERENCE="$WORK/title.ppm"
}

# see WHAT [SECONDS] CONDITION...: waits until the screen is so.
see() {
  local what=$1
  shift
  local seconds=$PATIENCE
  if [[ $1 =~ ^[0-9.]+$ ]]; then
    seconds=$1
    shift
  fi
  LAST=$("$XDRIVER" wait "$WIN" "$seconds" "$@" 2>&1) || fail "$what: not $* ($LAST)"
}

# steady WHAT SECONDS CONDITION...: the screen stays so all that time.
steady() {
  local what=$1 seconds=$2
  shift 2
  LAST=$("$XDRIVER" hold "$WIN" "$seconds" "$@" 2>&1) || fail "$what: not steadily $* ($LAST)"
}

# The value of one reading in the last output of see, steady or fly.
value() { grep -o "\b$1=[^ ]*" <<<"$LAST" | head -n1 | cut -d= -f2; }

# A reading of the screen now.
reading() {
  LAST=$("$XDRIVER" look "$WIN")
  value "$1"
}

click_units() { "$XDRIVER" click $((CX + CW * $1 / 100)) $((CY + CH * $2 / 100)); }

# A click on the label, which covers the client area: a page turned, or a wing beat.
turn_page() { click_units 50 60; }

beat() { click_units 70 70; }

# From the title through the two opening pages to the flight; further conditions are checked
# on the flight's first frame.
open_to_flight() {
  local what=$1
  shift
  for page in open0 open1; do
    turn_page
    see "opening page $page" pic=$page
  done
  turn_page
  see "$what" 'black>50' hero=1 "$@"
}

# fly WHAT BEATS BELOW [SECONDS [UNTIL...]]: the player bot; its log is in LAST.
fly() {
  local what=$1
  shift
  LAST=$("$XDRIVER" fly "$WIN" "$@" 2>&1) || fail "$what: the player bot failed ($LAST)"
  say "$what: $(cut -d' ' -f1-6 <<<"$LAST")"
}

# Opens the menu under the bar title at X; its items are then in ITEM_Y, ITEM_CHECKED and
# ITEM_ENABLED, and the menu window in POPUP.
open_menu() {
  "$XDRIVER" click "$1" "$BAR_Y"
  read -r POPUP PX PY PW PH < <("$XDRIVER" popup "$PATIENCE") || fail "no menu opened at $1"
  ITEM_Y=() ITEM_CHECKED=() ITEM_ENABLED=()
  local y checked enabled
  while read -r y checked enabled; do
    ITEM_Y+=("$y") ITEM_CHECKED+=("$checked") ITEM_ENABLED+=("$enabled")
  done < <("$XDRIVER" items "$POPUP")
  ((${#ITEM_Y[@]} > 0)) || fail "the menu at $1 shows no items"
}

close_menu() {
  "$XDRIVER" key Escape
  "$XDRIVER" gone "$POPUP" "$PATIENCE" || fail "the menu did not close"
}

# The state of an options item: "CHECKED ENABLED", the menu closed again.
option_state() {
  open_menu "$OPTIONS_X"
  local state="${ITEM_CHECKED[$1]} ${ITEM_ENABLED[$1]}"
  close_menu
  echo "$state"
}

# Chooses item INDEX of the menu under the bar title at X.
choose() {
  open_menu "$1"
  (($2 < ${#ITEM_Y[@]})) || fail "the menu at $1 has no item $2"
  "$XDRIVER" click $((PX + PW / 2)) "${ITEM_Y[$2]}"
  "$XDRIVER" gone "$POPUP" "$PATIENCE" || fail "the menu stayed open after choosing item $2"
}

# A command on the bar itself.
bar_command() { "$XDRIVER" click "$1" "$BAR_Y"; }

# Waits for a box of this title in front of the game; its window is then BOX.
wait_box() {
  local found
  found=$("$XDRIVER" window "$1" "$PATIENCE" "$WIN" 2>&1) || fail "no box titled $1 ($found)"
  BOX=${found%% *}
}

no_box() {
  if "$XDRIVER" window "$NAME" 0.5 "$WIN" >/dev/null 2>&1; then
    fail "a box came up: $*"
  fi
}

accept_box() {
  "$XDRIVER" key Return
  "$XDRIVER" gone "$BOX" "$PATIENCE" || fail "the box did not close on Return"
}

game_alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $*"; }

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
  WIN=""
  ((status == 0)) || fail "the game ended with status $status"
}

# The bytes of a file as lower-case hex, without spaces.
hex_of() { od -An -tx1 -v "$1" | tr -d ' \n'; }

# A ranking record as the file holds it: the name in ten bytes, the score little-endian.
record_hex() {
  local name=$1 score=$2
  printf '%-10s' "$name" | od -An -tx1 -v | tr -d ' \n'
  printf '%02x%02x' $((score & 255)) $(((score >> 8) & 255))
}

# An entry never filled: ten blank bytes (spaces or NULs) and a score of 0.
blank_record() { [[ $1 =~ ^(20|00){10}0000$ ]]; }

done_run() { say "$RUN: ok"; }
