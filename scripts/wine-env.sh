# Sourced: the Wine environment of one build's prefix. Set WINEPREFIX before sourcing to
# use another prefix.
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

# Makes the prefix once (safe to call from parallel tests) and keeps its server alive for a
# minute after the last program, so that each start is cheap. Wine's background services
# start with the first program of a server: start them here with no output of ours, or
# they hold the caller's pipes open as long as they run.
ensure_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.purgelint-ready" ]; then
            wineboot -i >/dev/null 2>&1
            # The title bars' glyphs (Marlett): this Wine looks for them in the prefix's Fonts
            # folder, not where fonts-wine puts them. Only that one: with Wine's own MS Sans
            # Serif and Tahoma there too, bold dialog text of 12 points draws thin.
            cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null ||
                true

            # A new prefix links the user's folders to $HOME: make them real folders, so
            # that nothing the program does reaches the host's home.
            local user_dir
            for user_dir in "$WINEPREFIX"/drive_c/users/*/; do
                for link in "$user_dir"*; do
                    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
                done
            done
            # Windows open inside one virtual desktop: no window manager is needed, and Wine
            # does not wait for one each time a window closes.
            wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
                >/dev/null 2>&1
            touch "$WINEPREFIX/.purgelint-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
    wineserver -p 60 >/dev/null 2>&1 || true
    wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
}
