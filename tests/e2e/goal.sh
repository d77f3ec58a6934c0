#!/usr/bin/env bash
# A whole game to the star: the player bot keeps the hero aloft for 57 beats, the 58th reaches
# distance 30 and the ending, whose two pages lead back to the title in two clicks.
source "$(dirname "$0")/e2e_lib.sh"

start_x 1280x1024x24
start_game
keep_title
open_to_flight "the flight start"

fly "57 beats" 57 75 50
[[ $(value beats) == 57 && $(value ended) == 0 ]] || fail "the flight ended early: $LAST"
# Never too high (the wings would melt) nor too low.
(($(value lowest | cut -d. -f1) > 20 && $(value highest | cut -d. -f1) < 95)) ||
  fail "the bot let the hero stray: $LAST"
steady "still flying after 57 beats" 0.5 hero=1 'black>50'

beat
# The hero is hidden and the red text of the ending lies over its first picture.
see "ending page 0" pic=end0 red_rows=3 'red_centre>45' 'red_centre<55'
turn_page
see "ending page 1" pic=end1 red_rows=4 'red_centre>45' 'red_centre<55'
turn_page
see "the title again" 'differs<1'
no_box "after a flight of 30"
game_alive "after the ending"
close_game
done_run
