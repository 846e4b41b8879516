#!/usr/bin/env bash
# Sets everything up, builds purgelint.exe and runs it under Wine on a demo machine of its
# own (a prefix in demo/): three made-up programs installed there for real, then one deleted
# by hand, one moved by hand and one left installed, and old files in the temporary folder.
# With a display the main window opens: press "Find problems". Without one, the program
# makes its weekly scheduled scan on a virtual display and demo/screenshot.png shows it.
# Arguments go to purgelint.exe. PURGELINT_DEMO_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${PURGELINT_DEMO_BUILD:-build/windows}"
scripts/setup.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target purgelint demo_installer
export WINEPREFIX="$PWD/demo/wineprefix"
source scripts/wine-env.sh
ensure_wine_prefix
drive_c="$WINEPREFIX/drive_c"

# A Windows path as the host sees it inside the prefix.
host_path() { winepath -u "$1" 2>/dev/null; }

# The machine's leftovers, made once: later runs find them as they were left (or repaired).
seed_demo_machine() {
    echo "Making the demo machine's leftovers (once) ..."
    local setup="$drive_c/DemoSetup"
    mkdir -p "$setup"
    cp "$build/tools/demo_installer.exe" "$setup/setup.exe"
    wine 'C:\DemoSetup\setup.exe' 'C:\DemoSetup\setup.exe' </dev/null | tr -d '\r'
    rm -rf "$setup"

    local programs
    programs="$(host_path 'C:\Program Files')"
    # Deleted by hand instead of uninstalled: every entry of it is left behind.
    rm -rf "$programs/Quillmere Notes"
    # Moved by hand: its entries are broken, but its files exist elsewhere.
    mkdir -p "$drive_c/Tools"
    rm -rf "$drive_c/Tools/Brackenfold Photo Viewer"  # from an interrupted earlier try
    mv "$programs/Brackenfold Photo Viewer" "$drive_c/Tools/"
    # Larkspan Tuner stays installed: nothing of it is a problem.

    local temp
    temp="$(host_path "$(wine cmd.exe /c 'echo %TEMP%' </dev/null | tr -d '\r')")"
    mkdir -p "$temp/qn_setup" "$temp/~brk0391"
    touch -d '2023-05-01 10:12' "$temp/~DF3A27.tmp" "$temp/qn_setup/install.log" \
        "$temp/qn_setup/data1.cab" "$temp/~brk0391/unpack.tmp"
    touch -d '2023-11-20 18:40' "$temp/thumbcache_old.db"
    touch "$temp/session.tmp"  # in use today: not old
}

marker="$WINEPREFIX/.purgelint-demo-seeded"
if [ ! -f "$marker" ]; then
    seed_demo_machine
    touch "$marker"
fi

app="$drive_c/Purgelint"
mkdir -p "$app"
cp -r "$build/dist/." "$app/"
# Wine's desktop opens on the display of the server's first program: start afresh.
wineserver -k 2>/dev/null || true
if [ -n "${DISPLAY:-}" ]; then
    echo "Starting purgelint.exe: press \"Find problems\" (or OK on the welcome) to scan the demo machine."
    (cd "$app" && wine purgelint.exe "$@") || true
else
    # The weekly scheduled start scans by itself on the first start of a Monday: pretend
    # to be this week's Monday (a new one for the program each time).
    monday="$(date -d "$(date +%u | sed 's/^1$/today/;s/^[2-7]$/last monday/')" +%F)"
    [ -f "$app/setup.ini" ] && sed -i '/^last_scheduled_run=/d' "$app/setup.ini"
    shot="$PWD/demo/screenshot.png"
    echo "No display: scanning on a virtual one, screenshot in $shot ..."
    # The picture is taken once the screen has changed and then stood still for 8 seconds
    # (the summary waits for an answer), or after two minutes. NO_FAKE_STAT keeps file times
    # true: Wine would take its own files for changed and update the prefix first.
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        screen() { import -window root rgb:- | md5sum; }
        (cd "$1" && NO_FAKE_STAT=1 faketime "$2 10:00:00" wine purgelint.exe /SCHEDULED "${@:4}") &
        first="$(screen)" last="" now="" still=0
        for _ in $(seq 30); do
            sleep 4
            now="$(screen)"
            if [ "$now" != "$first" ] && [ "$now" == "$last" ]; then still=$((still + 1)); else still=0; fi
            [ "$still" -ge 2 ] && break
            last="$now"
        done
        import -window root "$3"
        wineserver -k' _ "$app" "$monday" "$shot" "$@" || true
    echo "Screenshot of the scan's result: $shot"
fi
echo "== $app/app.log"; cat "$app/app.log"
echo "== $app/setup.ini"; cat "$app/setup.ini"
