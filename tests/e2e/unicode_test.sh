#!/usr/bin/env bash
# Names that Windows-1252 cannot hold, each beside a working twin whose name is what that code
# page would turn it into ("Ωmega" and "Omega", "日本語" and "???"): the scan lists the true
# names only, an aggressive repair deletes exactly those, and its backup brings them back.
# Runs on a display (xvfb-run). Usage: unicode_test.sh DIST demo_installer.exe ui_driver.exe
# Host file names and command-line arguments reach Wine as Unicode only in a UTF-8 locale.
export LC_ALL=C.UTF-8
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" unicode "$@"

RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
PRESENT='C:\Present\tool.exe'

# A key as REG exports it, in UTF-8: names and data as stored, where `reg query` would print
# them in the console's code page. A key that does not export gives nothing, and says why.
key_text() {
    local file="$E2E_ROOT/key.reg"
    rm -f "$file"
    if wine reg export "$1" "$(winepath -w "$file")" /y </dev/null >"$E2E_ROOT/reg.out" 2>&1; then
        iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | sed 1,2d
    else
        echo "reg export $1 failed: $(tr -d '\r' <"$E2E_ROOT/reg.out")" >&2
    fi
}
keys_text() { key_text "$RUN"; key_text "$UNINSTALL\\アプリ"; key_text "$UNINSTALL\\???"; }

# A shortcut made by the shell's link object, through Windows Script Host.
make_shortcut() {
    wine cscript //nologo "$(winepath -w "$E2E_ROOT/link.js")" "$PROFILE\\Desktop\\$1" "$2" \
        </dev/null >/dev/null 2>&1 || check "the shortcut $1 is made" made failed
}

fresh_machine
user_folders
check "Wine's ANSI code page is Windows-1252" 1252 \
    "$(reg_value 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' ACP)"
# Tahoma, behind the dialogs' font, links to this face for Japanese: a CJK font of the host
# draws the names instead of boxes.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS UI Gothic' /d 'WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
mkdir -p "$(host_path 'C:\Present')" && touch "$(host_path "$PRESENT")"
for pair in 'Ωmega|C:\Gone\Ωmega.exe' "Omega|$PRESENT" '日本語|C:\Gone\日本語.exe' "???|$PRESENT"; do
    wine reg add "$RUN" /v "${pair%%|*}" /d "${pair#*|}" /f </dev/null >/dev/null 2>&1
done
for pair in 'アプリ|C:\Gone\アプリ\uninst.exe' "???|$PRESENT"; do
    wine reg add "$UNINSTALL\\${pair%%|*}" /v DisplayName /d "${pair%%|*}" /f </dev/null >/dev/null 2>&1
    wine reg add "$UNINSTALL\\${pair%%|*}" /v UninstallString /d "${pair#*|}" /f \
        </dev/null >/dev/null 2>&1
done
touch -d '2023-05-01 10:12' "$TEMP_DIR/Ωmega.tmp" "$TEMP_DIR/旧いファイル.tmp"
touch "$TEMP_DIR/Omega.tmp"
cat >"$E2E_ROOT/link.js" <<'EOF'
var link = WScript.CreateObject("WScript.Shell").CreateShortcut(WScript.Arguments(0));
link.TargetPath = WScript.Arguments(1);
link.Save();
EOF
make_shortcut 壊れた.lnk 'C:\Gone\ツール\tool.exe'
make_shortcut Omega.lnk "$PRESENT"
DESKTOP="$(host_path "$PROFILE\\Desktop")"

# Wine keeps a key's values in name order.
SEEDED="$(keys_text)"
check "the registry holds the names as seeded" "$(cat <<'EOF'
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"???"="C:\\Present\\tool.exe"
"Omega"="C:\\Present\\tool.exe"
"Ωmega"="C:\\Gone\\Ωmega.exe"
"日本語"="C:\\Gone\\日本語.exe"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\アプリ]
"DisplayName"="アプリ"
"UninstallString"="C:\\Gone\\アプリ\\uninst.exe"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\???]
"DisplayName"="???"
"UninstallString"="C:\\Present\\tool.exe"
EOF
)" "$SEEDED"
check "the files hold the names as seeded" "$(printf '%s\n' Omega.lnk 壊れた.lnk Omega.tmp \
    Ωmega.tmp 旧いファイル.tmp)" "$(cd "$DESKTOP" && ls -- *.lnk; cd "$TEMP_DIR" && ls -- *.tmp)"

# The window and its columns as wide as the screen, as a user would leave them: the picture
# of the list shows the whole names.
printf 'frmmain_window_%s\r\n' left=0 top=0 width=15360 height=9000 >>"$APP/setup.ini"
printf 'frmmain_lstmain_columns_%s\r\n' 1=1000 2=1650 3=7100 4=5100 >>"$APP/setup.ini"
new_wine_server
start_program
step click "$MAIN" "$(caption frmmain_button_check)"
step answer No 300
check_match "the summary counts the true names once" \
    "found 2 temporary files.*found 3 entries.*found 1 shortcuts" "$out"
step rows "$MAIN"
screenshot unicode-list
check "the scan lists the true names, no working twin" "$(sed 's/ *| */\t/g' <<'EOF' | sort
File | Unused file | %USERPROFILE%\Temp\Ωmega.tmp | File in temporary folder, last used <time>
File | Unused file | %USERPROFILE%\Temp\旧いファイル.tmp | File in temporary folder, last used <time>
Registry | Broken link | HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run\Ωmega | Links to nonexisting file C:\Gone\Ωmega.exe
Registry | Broken link | HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run\日本語 | Links to nonexisting file C:\Gone\日本語.exe
Registry | Wrong uninstall info | HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\アプリ | Links to nonexisting file C:\Gone\アプリ\uninst.exe
Shortcut | Broken link | %USERPROFILE%\Desktop\壊れた.lnk | Links to nonexisting file C:\Gone\ツール\tool.exe
EOF
)" "$(rows_summary "$out")"

step click "$MAIN" "$(caption frmmain_button_select_all)"
repair_with "$(caption frmrepopt_opt_method1)"
step answer OK 300
check_match "the closing message counts 6 repaired" " 6$" "$out"
check "only the leftovers are deleted: the twins stay, the uninstall entry loses its command" \
    "$(grep -vF -e Ωmega -e 日本語 -e 'Gone\\アプリ' <<<"$SEEDED")" "$(keys_text)"
check "the broken shortcut and the old files are deleted, the twins stay" \
    "$(printf '%s\n' Omega.lnk Omega.tmp)" \
    "$(cd "$DESKTOP" && ls -- *.lnk; cd "$TEMP_DIR" && ls -- *.tmp)"
step click "$MAIN" "$(caption frmmain_button_check)"
step answer OK 300
check_match "a new scan finds nothing" "$(caption msgbox_congratnoproblems)" "$out"
step close "$MAIN"
wait_program_end

backups="$(cd "$APP/backup" 2>/dev/null && ls)"
check "one export per registry row" 3 "$(grep -c '\.reg$' <<<"$backups")"
for file in $backups; do
    wine reg import "C:\\Purgelint\\backup\\$file" </dev/null >/dev/null 2>&1 ||
        check "reg import $file" success failure
done
check "importing the backup brings back the deleted entries as they were" "$SEEDED" "$(keys_text)"
finish
