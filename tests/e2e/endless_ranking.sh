#!/usr/bin/env bash
# Endless mode, switched on through the menu bar: the 58th beat is no goal, and a flight to
# distance 33 takes second place in the ranking under the name typed into the box. The name is
# in scr.dat after the window has been closed, and it is read back at the next start.
source "$(dirname "$0")/e2e_lib.sh"

start_x 1280x1024x24
copy_game
# Two players flew before: ACE 40 and BOB 20.
{
  printf '%-10s\x28\x00' ACE
  printf '%-10s\x14\x00' BOB
} >"$WORK/game/scr.dat"
launch_game
keep_title

[[ $(option_state 1) == "0 1" ]] || fail "endless mode is not off and open at the start"
choose "$OPTIONS_X" 1
[[ $(option_state 1) == "1 1" ]] || fail "endless mode did not switch on"

open_to_flight "the flight start"
[[ $(option_state 1) == "1 0" ]] || fail "endless mode is not locked during the flight"

# Past the 58th beat, which would be the goal, to distance 1 + 64 / 2 = 33.
fly "64 beats" 64 75 60
[[ $(value beats) == 64 && $(value ended) == 0 ]] || fail "the endless flight ended: $LAST"
steady "still flying after 64 beats" 0.5 hero=1 'black>50'

# The fresh start offers the flight to the ranking: 33 beats BOB's 20, not ACE's 40.
bar_command "$FRESH_X"
wait_box "2位"
lines=$("$XDRIVER" lines "$BOX")
((lines == 3)) || fail "the name box says $lines lines, not 3"
"$XDRIVER" type PIRUNE
accept_box
see "the title after the entry" 'differs<1'
[[ $(option_state 1) == "1 1" ]] || fail "endless mode is not open again after the new game"

bar_command "$RANKING_X"
wait_box "$NAME"
lines=$("$XDRIVER" lines "$BOX")
((lines == 5)) || fail "the ranking shows $lines lines, not 5"
accept_box

close_game
data=$(hex_of "$WORK/game/scr.dat")
((${#data} == 120)) || fail "scr.dat is $((${#data} / 2)) bytes, not 60"
[[ ${data:0:24} == "$(record_hex ACE 40)" ]] || fail "record 1 is ${data:0:24}"
[[ ${data:24:24} == "$(record_hex PIRUNE 33)" ]] || fail "record 2 is ${data:24:24}, not PIRUNE 33"
[[ ${data:48:24} == "$(record_hex BOB 20)" ]] || fail "record 3 is ${data:48:24}"
blank_record "${data:72:24}" || fail "record 4 is ${data:72:24}"
blank_record "${data:96:24}" || fail "record 5 is ${data:96:24}"
say "scr.dat: ACE 40, PIRUNE 33, BOB 20"

# The next start: endless mode off again, the ranking read back and written back unchanged.
launch_game
[[ $(option_state 1) == "0 1" ]] || fail "endless mode is on after a new start"
close_game
[[ $(hex_of "$WORK/game/scr.dat") == "$data" ]] || fail "scr.dat changed over a run without flights"
done_run
