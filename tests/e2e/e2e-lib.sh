# Sourced by the end-to-end tests: a fresh Wine prefix with the program installed in
# C:\Purgelint, ways to run it, and checks that count their results.
set -uo pipefail

E2E_DIST="$1"
E2E_ROOT="$(cd "$E2E_DIST/.." && pwd)/e2e"
export WINEPREFIX="$E2E_ROOT/prefix"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"

passed=0
failed=0

fresh_machine() {
    wineserver -k 2>/dev/null || true
    rm -rf "$E2E_ROOT"
    mkdir -p "$E2E_ROOT"
    ensure_wine_prefix
    APP="$WINEPREFIX/drive_c/Purgelint"
    mkdir -p "$APP"
    cp -r "$E2E_DIST/." "$APP/"
}

# run_at "YYYY-MM-DD HH:MM:SS" ARGS...: starts purgelint.exe at that local time and waits.
run_at() {
    local when="$1"
    shift
    (cd "$APP" && timeout 60 faketime "$when" wine purgelint.exe "$@" </dev/null >/dev/null 2>&1)
}

# The data of a registry value as `reg query` shows it, or "<absent>".
reg_value() {
    local line
    line=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -E "^ +$2 +REG_")
    [ -n "$line" ] && sed -E 's/^ +[^ ]+ +REG_[A-Z_]+ +//' <<<"$line" || echo "<absent>"
}

# A file beside the program with its line ends shown, or "<none>".
app_file() { [ -f "$APP/$1" ] && sed 's/\r$/<CR>/' "$APP/$1" || echo "<none>"; }

check() {
    local what="$1" expected="$2" actual="$3"
    if [ "$expected" == "$actual" ]; then
        passed=$((passed + 1))
        echo "ok   $what"
    else
        failed=$((failed + 1))
        printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$what" "$expected" "$actual"
    fi
}

check_match() {
    local what="$1" pattern="$2" actual="$3"
    if [[ "$actual" =~ $pattern ]]; then
        check "$what" "$actual" "$actual"
    else
        check "$what" "text matching $pattern" "$actual"
    fi
}

finish() {
    wineserver -k 2>/dev/null || true
    echo "e2e: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
