#!/usr/bin/env bash
# The menu bar: the help and version boxes, the background effect switched on a story page and
# during a flight, the music switched off and on, and the fresh start from a story page and from
# a flight, each back to the title.
source "$(dirname "$0")/e2e_lib.sh"

start_x 1280x960x24
start_game
keep_title

# At every start: music on, endless mode off, background effect on.
open_menu "$OPTIONS_X"
((${#ITEM_Y[@]} == 3)) || fail "the options menu has ${#ITEM_Y[@]} items, not 3"
options="${ITEM_CHECKED[*]} / ${ITEM_ENABLED[*]}"
close_menu
[[ $options == "1 0 1 / 1 1 1" ]] || fail "the options at the start: $options"

# How to play: seven lines; the version: two.
for item in 0:7 1:2; do
  choose "$MENU_X" "${item%%:*}"
  wait_box "$NAME"
  lines=$("$XDRIVER" lines "$BOX")
  ((lines == ${item##*:})) || fail "help box $item shows $lines lines"
  accept_box
done
see "the title behind the boxes" 'differs<1'

# A fresh start from the first opening page.
turn_page
see "opening page 0" pic=open0
bar_command "$FRESH_X"
see "the title after a fresh start" 'differs<1'
no_box "after a fresh start from the story"

# The background effect switched off on a story page: only the mark changes, and the next
# flight has no shapes.
turn_page
see "opening page 0" pic=open0
turn_page
see "opening page 1" pic=open1
choose "$OPTIONS_X" 2
[[ $(option_state 2) == "0 1" ]] || fail "the background effect is still marked"
see "opening page 1, unchanged" pic=open1
turn_page
see "the flight start" 'black>50' hero=1
steady "a flight without shapes" 1.5 coloured=0 hero=1

# Switched on during the flight: the four shapes appear at once and twinkle.
choose "$OPTIONS_X" 2
see "the shapes" 2 'coloured>50'
[[ $(option_state 2) == "1 1" ]] || fail "the background effect is not marked"
fly "a few beats" 8 60 5
# And off again: all gone at once.
choose "$OPTIONS_X" 2
see "no shapes" 2 coloured=0
steady "no shapes any more" 1 coloured=0 hero=1

# The music off and on again; the flight goes on.
choose "$OPTIONS_X" 0
[[ $(option_state 0) == "0 1" ]] || fail "the music is still marked"
choose "$OPTIONS_X" 0
[[ $(option_state 0) == "1 1" ]] || fail "the music is not marked again"
see "the flight after the music" hero=1 'black>50'
game_alive "after switching the music"

# A fresh start abandons the flight: the title, no ranking for a short flight.
bar_command "$FRESH_X"
see "the title after abandoning the flight" 'differs<1'
no_box "after abandoning a short flight"
# A new flight after the fresh start: the background effect is still off.
open_to_flight "the next flight" 'altitude>=47'
steady "the next flight without shapes" 1 coloured=0
close_game
done_run
