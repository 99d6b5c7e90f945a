#!/bin/sh
# Plays the game in a window on an X server with xdotool, as a player would: waits for its window,
# goes from the title through the chooser and the map into the first fight of a Normal game and
# reads the first quick tip away. Then, with "shuffle", keeps the rack shuffling (the space bar
# every second, every tile gliding) while the game runs, after a screenshot of the fight
# (fight.png); with "quit", quits the fight with the game saved and stops the game with SIGTERM.
# On a busy machine the tip may come late and take a key meant for the fight: with a saved-game
# path, "quit" tries again (a few times) until that file exists.
# Usage: drive_fight.sh game-pid shuffle|quit [saved-game]   (run beside the game, on its display)
game="$1"
then="$2"
saved="${3:-}"
window=""
for _ in $(seq 60); do
  window=$(xdotool search --name "Spellcrypt" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.5
done
sleep 2
xdotool windowfocus "$window" 2>/dev/null
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.8; }
key() { xdotool key --window "$window" "$1"; }
click 540 215  # play
click 279 214  # Normal
click 268 329  # enter the crypt
sleep 2
key Return  # into the dungeon
sleep 5
key Return  # the first quick tip
sleep 1
case "$then" in
  shuffle)
    import -window root fight.png 2>/dev/null
    while kill -0 "$game" 2>/dev/null; do
      sleep 1
      key space
    done
    ;;
  quit)
    for _ in 1 2 3 4 5; do
      key Escape  # quit?
      sleep 1.5
      click 246 286  # yes: the game is saved, back to the title
      sleep 2
      { [ -z "$saved" ] || [ -s "$saved" ]; } && break
      key Return  # a tip that came late (or the question, answered no): back to the fight
      sleep 1
    done
    kill -TERM "$game"
    ;;
esac
