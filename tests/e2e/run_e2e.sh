#!/bin/bash
# Drives the built program in a real X server with real key and mouse events and compares the
# data file it leaves behind with the expected one, byte for byte. The keys of the entries added
# in the run are time stamps: they must be 12 digits and are then compared as "@STAMP@".
#
#   run_e2e.sh <Velistra executable> <folder of start.dat and expected_*.dat> <scenario>
#
# Scenarios: "commands" (Cancella with Yes, two entries through Inserisci with the Insert key
# and "Conferma", Esci, Modifica discarded by the frame's close then confirmed, Esci) and
# "frame_close" (Enter on Inserisci at start, one entry, Esci, main window closed by the frame).
set -u
exe=$1 data=$2 scenario=$3

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cp "$exe" "$work/Velistra"
cp "$data/start.dat" "$work/Te02data.dat"

# A display of our own.
for n in $(seq 71 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
# The window manager gives the windows their frames, so that a frame can close them.
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

unset QT_QPA_PLATFORM
(cd / && exec "$work/Velistra") >"$work/app.log" 2>&1 &
app=$!
pids+=($app)

main=$(timeout 20 xdotool search --sync --onlyvisible --name 'VELISTRA - Rubrica') ||
    fail "the main window did not appear"
main=${main%%$'\n'*}
sleep 1.5

editor_window() { xdotool search --onlyvisible --name '^INSERIMENTO/MODIFICA NOMINATIVO$' 2>/dev/null; }
wait_editor_open() {
    for _ in $(seq 100); do [ -n "$(editor_window)" ] && { sleep 0.5; return; }; sleep 0.1; done
    fail "the editor did not open"
}
wait_editor_closed() {
    for _ in $(seq 100); do [ -z "$(editor_window)" ] && { sleep 0.3; return; }; sleep 0.1; done
    fail "the editor did not close"
}
keys() { xdotool key --delay 60 "$@"; }
typed() { xdotool type --delay 40 "$1"; }
tabs() { for _ in $(seq "$1"); do keys Tab; done; }

# The command buttons sit in the column at the right of the grid: centred 83 pixels from the
# window's right edge, "Inserisci" 122 pixels from the top, then every 32 pixels; "Esci" at 274.
eval "$(xdotool getwindowgeometry --shell "$main")"
button_x=$((WIDTH - 83))
click_button() { xdotool mousemove --window "$main" "$button_x" "$1" click 1; }
INSERISCI=122 MODIFICA=154 CANCELLA=186 ESCI=274

case "$scenario" in
commands)
    # Cancella the current entry (the first), answering "&Yes" with Enter.
    click_button $CANCELLA
    timeout 10 xdotool search --sync --onlyvisible --name '^Confirm$' >/dev/null ||
        fail "no confirmation box"
    sleep 0.5
    keys Return
    sleep 0.5

    # Two entries: the first confirmed by the Insert key, the second by "Conferma".
    click_button $INSERISCI
    wait_editor_open
    typed "gamma snc"; keys Tab; typed "magazzino"; keys Tab; typed "bruno"; keys Tab
    typed "02 55"; keys Insert
    sleep 0.5
    typed "delta"; keys Tab; typed "uffici"; keys Tab; typed "neri"
    tabs 7; typed "Neri@Delta.IT"
    tabs 7; keys space          # "Conferma"
    sleep 0.5
    tabs 17; keys space         # "Esci" discards the new empty entry
    wait_editor_closed

    # Modifica, closed through the frame: the change is discarded.
    click_button $MODIFICA
    wait_editor_open
    keys End; typed " zzz"
    keys alt+F4
    wait_editor_closed

    # Modifica, confirmed by the Insert key from the first telephone field.
    click_button $MODIFICA
    wait_editor_open
    keys End; typed " bis"; tabs 3; keys End; typed " 011 9"; keys Insert
    wait_editor_closed

    click_button $ESCI
    ;;
frame_close)
    # The focus starts on "Inserisci": Enter opens the editor.
    keys Return
    wait_editor_open
    typed "epsilon"; keys Tab; typed "portineria"; keys Tab; typed "bianchi"; keys Tab
    typed "0123"; keys Insert
    sleep 0.5
    tabs 17; keys space
    wait_editor_closed
    xdotool windowactivate --sync "$main" 2>/dev/null
    keys alt+F4
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac

for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end"
wait "$app" || fail "the program ended with an error"

# New keys are 12-digit stamps: where the expected file says "@STAMP@", any 12 digits match.
# Then everything is compared byte for byte.
LC_ALL=C awk 'NR == FNR { want[FNR] = $0; next }
    {
        line = $0; w = want[FNR]; p = index(w, "@STAMP@")
        if (p && substr(line, 1, p - 1) == substr(w, 1, p - 1) &&
            substr(line, p + 12) == substr(w, p + 7) && substr(line, p, 12) ~ /^[0-9]+$/ &&
            length(substr(line, p, 12)) == 12)
            line = w
        print line
    }' "$data/expected_$scenario.dat" "$work/Te02data.dat" >"$work/actual.dat"
if ! cmp "$work/actual.dat" "$data/expected_$scenario.dat"; then
    echo "--- expected"; cat -A "$data/expected_$scenario.dat"
    echo "--- actual"; cat -A "$work/actual.dat"
    echo "--- program output"; cat "$work/app.log"
    fail "the data file differs"
fi
echo "PASS: $scenario"
