#!/usr/bin/env bash
# The real program on a private X server without a window manager: the window, the title and
# the opening pages, an option switched by keyboard, the flight and its distance, the close
# button's request, and the flight kept (flown again by FLIGHT_TOOL, the built pirune-flight);
# then a second start on the same folder, which watches the kept flight again.
HERE=$(dirname "$(readlink -f "$0")")
source "$HERE/lib.sh"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
SCREEN_W=1280 SCREEN_H=1024 TITLE="^$NAME\$"

# -noreset: the server keeps its state, the focus too, while no client is connected.
Xvfb -displayfd 3 -screen 0 ${SCREEN_W}x${SCREEN_H}x24 -nolisten tcp -noreset 3>display 2>xvfb.log &
CHILDREN+=($!)
poll 10 grep -qx '[0-9]\+' display || fail "Xvfb did not start"
DISPLAY=":$(<display)" && export DISPLAY

shot() { import -window root shot.png; }
# windows_open N: the game shows N windows, its main window and any menu open.
windows_open() { (($(xdotool search --onlyvisible --class "$TITLE" | wc -l) == $1)); }
focused() { [[ $(xdotool getwindowfocus) == "$1" ]]; }
# click X% Y%: a click at that place of the client area.
click() { xdotool mousemove $((CX + CW * $1 / 100)) $((CY + CH * $2 / 100)) click 1; }
# lit LEFT% TOP% RIGHT% BOTTOM%: that part of the client area in the last screenshot, cut out
# into region.ppm (which holds nothing but its pixels), is not all black.
lit() {
  local size=$((CW * ($3 - $1) / 100))x$((CH * ($4 - $2) / 100))
  convert shot.png -crop "$size+$((CX + CW * $1 / 100))+$((CY + CH * $2 / 100))" +repage region.ppm
  SEEN="region $*: brightest $(convert region.ppm -format '%[fx:maxima]' info:)"
  [[ $SEEN != *" brightest 0" ]]
}
# The window is a square of half the screen's height in its middle (X, Y, WIDTH and HEIGHT), and
# the title picture fills its client area, which is then CW x CH at CX,CY: the whole window but
# the menu bar at its top.
title_fills() {
  eval "$(xdotool getwindowgeometry --shell "$WIN")" && shows stt &&
    IFS='x+' read -r CW CH CX CY <<<"$BOX" && SEEN+=" window ${WIDTH}x$HEIGHT at $X,$Y" &&
    ((WIDTH * 2 == SCREEN_H && HEIGHT == WIDTH && X * 2 + WIDTH == SCREEN_W && Y * 4 == SCREEN_H)) &&
    ((CX == X && CW == WIDTH && CY + CH == Y + HEIGHT && CY - Y > 10 && CY - Y < HEIGHT / 8))
}
# The flight: the story picture gone; without the background effect all is black but the hero
# at the left and the distance at the top left (that region last, in region.ppm).
flight_shown() { shot && ! lit 20 0 100 100 && lit 0 20 15 100 && lit 0 0 10 8; }
# The distance's region unlike the first one.
distance_moved() { shot && lit 0 0 10 8 && ! cmp -s region.ppm distance1.ppm; }
# title_is TEXT: the window's title says that (a pattern: a trailing * allows more).
title_is() { SEEN="title $(xdotool getwindowname "$WIN")" && [[ ${SEEN#title } == $1 ]]; }

launch g
WIN=$(timeout 20 xdotool search --sync --limit 1 --onlyvisible --name "$TITLE") || fail "no window"
poll 10 title_fills || fail "no centred square window with the title picture below its menu bar"
for page in open0 open1; do
  click 50 50
  poll 10 shows "$page" || fail "a click did not turn to $page"
done

# オプション > 背景効果 by keyboard, its menu waited for, then shut.
xdotool windowfocus --sync "$WIN" key alt
xdotool key Right Down
poll 10 windows_open 2 || fail "the options menu did not open"
xdotool key Down Down Return
poll 10 windows_open 1 || fail "the options menu stayed open"

click 50 50
poll 10 flight_shown || fail "no flight: black but for the hero and the distance"
cp region.ppm distance1.ppm
BEATS=2
for ((beat = 0; beat < BEATS; beat++)); do click 50 50; done
poll 5 distance_moved || fail "two wing beats did not change the distance shown"
# One to start with, and one for every second beat.
SHOWN=$((1 + BEATS / 2))

# The close button's request (by Debian's own python3, which has python3-xlib) ends the game.
/usr/bin/python3 "$HERE/close_window.py" "$WIN" && ends "$GAME" 10

# The flight, closed in the air, is kept beside scr.dat, and the game alone, flying it again,
# counts the beats the bot gave and reaches the distance the screen showed.
JSON=$("$FLIGHT_TOOL" show g/flights/last.pflight) || fail "pirune-flight refused the kept flight"
SEEN="pirune-flight: $JSON"
[[ $JSON == *'"distance": '"$SHOWN,"* && $JSON == *'"beats": '"$BEATS,"* ]] ||
  fail "the kept flight is not the one flown: $BEATS beats to distance $SHOWN"
echo "the kept flight flown again: $JSON"

# A second start on the same folder brings the first to the front and ends. The focus is moved
# away before the first starts: X takes a request for the focus only if it is newer than the
# last change, and the game's request bears the time of the last event it saw.
xdotool windowfocus --sync "$(xdotool search --maxdepth 0 --name '')"  # the root window
launch g
WIN=$(timeout 20 xdotool search --sync --limit 1 --onlyvisible --name "$TITLE") || fail "no window"
launch g
ends "$GAME" 5
grep -q scr.dat "$GAME_LOG" || fail "the second start did not say why it ended"
# Its window, which ends with it, is the one in front.
poll 10 focused "$WIN" || fail "the first game did not come to the front"

# The kept flight watched again, from the replay menu by keyboard: the window's title says so,
# the client area shows the flight as it was flown (without the background effect, switched
# off above), the title then says where it ended, and a click brings the live title back.
poll 10 title_fills || fail "the first game does not show its title"
xdotool key alt
xdotool key Right Right Right Right Down
poll 10 windows_open 2 || fail "the replay menu did not open"
xdotool key Return
poll 10 title_is "$NAME — リプレイ中*" || fail "the window does not say it shows a replay"
poll 10 flight_shown || fail "the replay does not show the flight"
mkdir -p "$OUT_DIR" && cp shot.png "$OUT_DIR/e2e-x11-replay.png"
echo "the replay as the test saw it: $OUT_DIR/e2e-x11-replay.png"
poll 20 title_is "$NAME — リプレイ終わり：距離 $SHOWN・*" ||
  fail "the replay did not end at distance $SHOWN"
echo "the window at the replay's end: ${SEEN#title }"
click 50 50
poll 10 title_is "$NAME" || fail "a click did not end the replay"
poll 10 shows stt || fail "the live title did not show again"
