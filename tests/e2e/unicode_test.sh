#!/usr/bin/env bash
# Names that Windows-1252 cannot hold beside the working twin it would turn them into ("Ωmega"
# and "Omega", "日本語" and "???"): only the true names are listed and repaired.
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
    wine reg export "$1" "$(winepath -w "$file")" /y </dev/null >"$E2E_ROOT/reg.out" 2>&1 ||
        { echo "reg export $1 failed: $(tr -d '\r' <"$E2E_ROOT/reg.out")" >&2; return; }
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | sed 1,2d
}
keys_text() { key_text "$RUN"; key_text "$UNINSTALL\\アプリ"; key_text "$UNINSTALL\\???"; }
files() ( cd "$DESKTOP" && ls -- *.lnk && cd "$TEMP_DIR" && ls -- *.tmp )

fresh_machine
check "Wine's ANSI code page is Windows-1252" 1252 \
    "$(reg_value 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' ACP)"
# Tahoma links to this face for Japanese: a CJK font of the host draws the names in pictures.
reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS UI Gothic' \
    /d 'WenQuanYi Micro Hei'
mkdir -p "$(host_path 'C:\Present')" && touch "$(host_path "$PRESENT")"
for pair in 'Ωmega|C:\Gone\Ωmega.exe' "Omega|$PRESENT" '日本語|C:\Gone\日本語.exe' "???|$PRESENT"; do
    reg_add "$RUN" /v "${pair%%|*}" /d "${pair#*|}"
done
for pair in 'アプリ|C:\Gone\アプリ\uninst.exe' "???|$PRESENT"; do
    reg_add "$UNINSTALL\\${pair%%|*}" /v DisplayName /d "${pair%%|*}"
    reg_add "$UNINSTALL\\${pair%%|*}" /v UninstallString /d "${pair#*|}"
done
touch -d '2023-05-01 10:12' "$TEMP_DIR/Ωmega.tmp" "$TEMP_DIR/旧いファイル.tmp"
touch "$TEMP_DIR/Omega.tmp"
echo 'var l = WScript.CreateObject("WScript.Shell").CreateShortcut(WScript.Arguments(0));
l.TargetPath = WScript.Arguments(1); l.Save();' >"$E2E_ROOT/link.js"
for pair in '壊れた.lnk|C:\Gone\ツール\tool.exe' "Omega.lnk|$PRESENT"; do
    wine cscript //nologo "$(winepath -w "$E2E_ROOT/link.js")" "$PROFILE\\Desktop\\${pair%%|*}" \
        "${pair#*|}" </dev/null >/dev/null 2>&1 || check "the shortcut ${pair%%|*} is made" made no
done
DESKTOP="$(host_path "$PROFILE\\Desktop")"
SEEDED="$(keys_text)"

# The window and its columns as wide as the screen: the picture of the list shows whole names.
printf 'frmmain_window_%s\r\n' left=0 top=0 width=15360 height=9000 >>"$APP/setup.ini"
printf 'frmmain_lstmain_columns_%s\r\n' 1=1000 2=1650 3=7100 4=5100 >>"$APP/setup.ini"
start_program
scan
check_match "the summary counts the true names once" \
    "found 2 temporary files.*found 3 entries.*found 1 shortcuts" "$out"
listed_rows
screenshot unicode-list
check "the scan lists the true names, no working twin" "$(sed 's/ *| */\t/g' <<'EOF' | sort
File | Unused file | %USERPROFILE%\Temp\Ωmega.tmp | File in temporary folder, last used <time>
File | Unused file | %USERPROFILE%\Temp\旧いファイル.tmp | File in temporary folder, last used <time>
Registry | Broken link | HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run\Ωmega | Links to nonexisting file C:\Gone\Ωmega.exe
Registry | Broken link | HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run\日本語 | Links to nonexisting file C:\Gone\日本語.exe
Registry | Wrong uninstall info | HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\アプリ | Links to nonexisting file C:\Gone\アプリ\uninst.exe
Shortcut | Broken link | %USERPROFILE%\Desktop\壊れた.lnk | Links to nonexisting file C:\Gone\ツール\tool.exe
EOF
)" "$out"

step click "$MAIN" "$(caption frmmain_button_select_all)"
repair_with "$(caption frmrepopt_opt_method1)" 6
check "only the leftovers are deleted: the twins stay, the uninstall entry loses its command" \
    "$(cat <<'EOF'
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"???"="C:\\Present\\tool.exe"
"Omega"="C:\\Present\\tool.exe"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\アプリ]
"DisplayName"="アプリ"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\???]
"DisplayName"="???"
"UninstallString"="C:\\Present\\tool.exe"
EOF
)" "$(keys_text)"
check "the broken shortcut and the old files are deleted, the twins stay" \
    "$(printf '%s\n' Omega.lnk Omega.tmp)" "$(files)"
scan OK
check_match "a new scan finds nothing" "$(caption msgbox_congratnoproblems)" "$out"
close_program

check "one export per registry row" 3 "$(ls "$APP/backup" | grep -c '\.reg$')"
import_backup
check "importing the backup brings back the deleted entries as they were" "$SEEDED" "$(keys_text)"
finish
