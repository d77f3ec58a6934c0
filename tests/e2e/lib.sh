# Shared by the end-to-end runs: the game started from a copy of its folder, conditions waited
# for with a deadline, what the screen shows, and what was seen when a run fails. Each run works
# in a folder of its own.
# Needs GAME_DIR (the built game folder); screenshots go to OUT_DIR (default: the build folder).
set -euo pipefail
export LC_ALL=C.UTF-8
NAME="ピルネノ翼"
RUN=$(basename "$0" .sh)
GAME_DIR=$(readlink -f "$GAME_DIR")
OUT_DIR=$(readlink -m "${OUT_DIR:-$(dirname "$GAME_DIR")}")
WORK=$(mktemp -d)
cd "$WORK"
CHILDREN=()
SEEN="nothing yet"

fail() {
  echo "FAIL ($RUN): $*; last seen: $SEEN" >&2
  shot 2>/dev/null || true  # the screen as the run ends, once the server's shot() is there
  mkdir -p "$OUT_DIR" && cp shot.png "$OUT_DIR/e2e-$RUN-failure.png" 2>/dev/null &&
    echo "screenshot: $OUT_DIR/e2e-$RUN-failure.png" >&2
  tail -n 5 ./*.log >&2 2>/dev/null || true
  exit 1
}

cleanup() {
  for pid in "${CHILDREN[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  cd / && rm -rf "$WORK"
}
trap cleanup EXIT

# poll SECONDS COMMAND...: runs the command until it succeeds, for at most that long.
poll() {
  local deadline=$((SECONDS + $1))
  until "${@:2}"; do
    ((SECONDS < deadline)) && sleep 0.1 || return 1
  done
}

# launch FOLDER [VAR=VALUE...]: starts the game of that folder; its process is then GAME, its
# output in GAME_LOG.
launch() {
  GAME_LOG=game-${#CHILDREN[@]}.log
  env "${@:2}" "$WORK/$1/$NAME" >"$GAME_LOG" 2>&1 &
  GAME=$!
  CHILDREN+=("$GAME")
}

# ends PID SECONDS: the process ends within that time with status 0.
ends() {
  timeout "$2" tail --pid="$1" -s 0.1 -f /dev/null || fail "process $1 still runs after $2 s"
  wait "$1" || fail "process $1 ended with status $?"
}

# A fresh copy of the game's folder in g, so that its scr.dat is this run's own, and its story
# pictures at a coarse scale at which a few pixels of offset do not matter.
cp -r "$GAME_DIR" g
for p in stt open0 open1; do convert "g/$p.bmp" -resize '32x32!' "ref-$p.png"; done

# shows PICTURE: a new screenshot's saturated part, BOX (of a fair size), is that story picture:
# close to it, and clearly closer to it than to the other two. The saturated part is the story
# picture (menu bar, frames, desktop and black background are grey), small specks such as icons
# left out.
shows() {
  shot && BOX=$(convert shot.png -colorspace HSL -channel G -separate +channel -threshold 30% \
    -morphology Open Square:3 -format '%@' info: 2>/dev/null) && SEEN="in $BOX:" || return 1
  [[ $BOX =~ ^([0-9]+)x([0-9]+) ]] && ((BASH_REMATCH[1] >= 64 && BASH_REMATCH[2] >= 64)) || return 1
  convert shot.png -crop "$BOX" +repage -resize '32x32!' box.png
  for p in stt open0 open1; do
    SEEN+=" $p=$(compare -metric RMSE box.png "ref-$p.png" null: 2>&1 | sed 's/.*(//; s/)//')"
  done
  awk -v want="$1" '{ for (i = 3; i <= NF; i++) { split($i, f, "="); d[f[1]] = f[2] }
    if (d[want] > 0.06) exit 1
    for (p in d) if (p != want && d[want] * 2 + 0.02 > d[p]) exit 1 }' <<<"$SEEN"
}
