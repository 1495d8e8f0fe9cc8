#!/usr/bin/env bash
# Installs and uninstalls the suite with its setup program under 32-bit Wine, in the fresh
# prefix the caller started (scripts/wine-env), and checks what a user and Windows would see.
#   installer_test.sh SETUP_EXE WIN32_BUILD_DIR
set -uo pipefail
setup=$1
build=$2
wine32=${SORVITA_WINE32:-/usr/lib/wine/wine}
passed=0
failed=0

ok()   { passed=$((passed + 1)); echo "  ok   $*"; }
fail() { failed=$((failed + 1)); echo "  FAIL $*"; }
check() { local what=$1; shift; if "$@"; then ok "$what"; else fail "$what"; fi; }
w() { "$wine32" "$@" </dev/null 2>/dev/null; }

# The installer is a 32-bit program: its Program Files, and its view of HKLM\Software.
suite_win='C:\Program Files (x86)\Sorvita Desktop Suite'
suite="$WINEPREFIX/drive_c/Program Files (x86)/Sorvita Desktop Suite"
windows="$WINEPREFIX/drive_c/windows"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sorvita Desktop Suite"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorvita Desktop Suite'
app_paths='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths'
settings='HKCU\Software\VB and VBA Program Settings'
saved_uninstaller="$WINEPREFIX/drive_c/saved-uninstaller.exe"

programs=("Sorvita Backdrop Changer.exe" "Sorvita Image Gallery.exe" "Sorvita Desk Commander.exe"
          "Sorvita Paste Inspector.exe")
declare -A built=(
    ["Sorvita Backdrop Changer.exe"]="$build/backdrop_changer/Sorvita Backdrop Changer.exe"
    ["Sorvita Image Gallery.exe"]="$build/image_gallery/Sorvita Image Gallery.exe"
    ["Sorvita Desk Commander.exe"]="$build/desk_commander/Sorvita Desk Commander.exe"
    ["Sorvita Paste Inspector.exe"]="$build/paste_inspector/Sorvita Paste Inspector.exe"
    ["Vb5stkit.dll"]="$build/vb5stkit/Vb5stkit.dll"
    ["Sorvita Slide Saver.scr"]="$build/slide_saver/Sorvita Slide Saver.scr")
shortcuts=("Sorvita Backdrop Changer" "Sorvita Image Gallery" "Sorvita Desk Commander" "Sorvita Paste Inspector"
           "Sorvita Slide Saver Settings")

# reg_value KEY NAME: the value's data ("" for the default value), or nothing when absent.
reg_value() {
    local out
    if [ -z "$2" ]; then out=$(w reg query "$1" /ve) || return 1
    else out=$(w reg query "$1" /v "$2") || return 1; fi
    tr -d '\r' <<<"$out" | sed -n -E 's/^    .*    REG_[A-Z_]+    (.*)$/\1/p' | head -n 1
}
reg_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
reg_absent() { ! w reg query "$1" >/dev/null; }

installed_path() {  # where a file of the suite lives once installed, as a Unix path
    if [ "$1" = "Sorvita Slide Saver.scr" ]; then echo "$windows/$1"; else echo "$suite/$1"; fi
}
installed_win() {
    if [ "$1" = "Sorvita Slide Saver.scr" ]; then echo "C:\\windows\\$1"; else echo "$suite_win\\$1"; fi
}
all_files_built() {
    local f
    for f in "${!built[@]}"; do cmp -s "${built[$f]}" "$(installed_path "$f")" || { echo "    differs: $f"; return 1; }; done
}
none_of_ours_left() {
    local f
    for f in "${!built[@]}" Uninstall.exe; do [ ! -e "$(installed_path "$f")" ] || return 1; done
    [ ! -e "$suite" ] && [ ! -e "$menu" ] && reg_absent "$uninstall_key" || return 1
    for f in "${programs[@]}" "Sorvita Slide Saver.scr"; do reg_absent "$app_paths\\$f" || return 1; done
}
# A shortcut names its target's full path (Windows keeps it in the link's ANSI path block).
shortcut_to() { [ -f "$menu/$1.lnk" ] && grep -qaF "$2" "$menu/$1.lnk"; }
# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local until=$((SECONDS + $1)); shift
    until "$@"; do [ $SECONDS -lt $until ] || return 1; sleep 0.3; done
}

run_setup() { w "$setup" /S; }
# The saved uninstaller, run in place on the install folder ("_?=", which NSIS takes only
# unquoted and last, so cmd gets the command line as written); it returns when it is done.
run_saved_uninstaller() { w cmd /c "C:\\saved-uninstaller.exe /S _?=$suite_win"; }

echo "-- silent install into a fresh prefix"
run_setup; check "setup /S exits 0" [ $? = 0 ]
check "every file present with the built bytes (screen saver in the Windows folder)" all_files_built
check "uninstaller present" [ -f "$suite/Uninstall.exe" ]
for s in "${shortcuts[@]}"; do
    case $s in
        *Settings) target='C:\windows\Sorvita Slide Saver.scr' ;;
        *) target="$suite_win\\$s.exe" ;;
    esac
    check "Start menu shortcut '$s' to its program" shortcut_to "$s" "$target"
done
check "uninstall entry: DisplayName" reg_is "$uninstall_key" DisplayName "Sorvita Desktop Suite"
check "uninstall entry: DisplayVersion 2.0.0" reg_is "$uninstall_key" DisplayVersion "2.0.0"
check "uninstall entry: Publisher" reg_is "$uninstall_key" Publisher "Sorvita"
check "uninstall entry: DisplayIcon" reg_is "$uninstall_key" DisplayIcon "$suite_win\\Sorvita Desk Commander.exe,0"
check "uninstall entry: UninstallString" reg_is "$uninstall_key" UninstallString "\"$suite_win\\Uninstall.exe\""
check "uninstall entry: QuietUninstallString" reg_is "$uninstall_key" QuietUninstallString "\"$suite_win\\Uninstall.exe\" /S"
check "uninstall entry: InstallLocation" reg_is "$uninstall_key" InstallLocation "$suite_win"
size_kb=$(( ($(du -cb "$suite" "$windows/Sorvita Slide Saver.scr" | tail -n 1 | cut -f 1) + 1023) / 1024 ))
estimated=$(( $(reg_value "$uninstall_key" EstimatedSize) ))
check "uninstall entry: EstimatedSize $estimated KB near the $size_kb KB installed" \
    [ "$estimated" -ge $((size_kb - 16)) -a "$estimated" -le $((size_kb + 16)) ]
for f in "${programs[@]}" "Sorvita Slide Saver.scr"; do
    dir=$(installed_win "$f"); dir=${dir%\\*}
    check "App Paths record of $f for every user" eval 'reg_is "$app_paths\\$f" "" "$(installed_win "$f")" && reg_is "$app_paths\\$f" Path "$dir\\"'
done
cp "$suite/Uninstall.exe" "$saved_uninstaller"

echo "-- each program started from its installed place"
# The installer's records are removed first, so what is found afterwards was written by the program.
registers() {
    local f=$1 title=${1%.*} dir
    dir=$(installed_win "$f"); dir=${dir%\\*}
    reg_is "$settings\\$title\\Settings" "App Path" "$(installed_win "$f")" &&
        reg_is "$app_paths\\$f" "" "$(installed_win "$f")" && reg_is "$app_paths\\$f" Path "$dir\\"
}
start_program() {  # start_program FILE [ARGS]: starts it in the background; its pid in $pid
    local f=$1; shift
    "$wine32" "$(installed_win "$f")" "$@" </dev/null >/dev/null 2>&1 &
    pid=$!
}
stop_program() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
for f in "Sorvita Backdrop Changer.exe" "Sorvita Image Gallery.exe" "Sorvita Paste Inspector.exe" "Sorvita Slide Saver.scr"; do
    w reg delete "$app_paths\\$f" /f >/dev/null
    w reg delete "$settings\\${f%.*}\\Settings" /v "App Path" /f >/dev/null
    args=(); [ "$f" = "Sorvita Slide Saver.scr" ] && args=(/c)
    start_program "$f" "${args[@]}"
    check "$f starts from its installed place and records it as its App Path" wait_for 20 registers "$f"
    stop_program
done
start_program "Sorvita Desk Commander.exe"
sleep 2
check "Sorvita Desk Commander.exe starts from its installed place and keeps running" kill -0 "$pid"
stop_program

echo "-- while a program of the suite runs"
start_program "Sorvita Image Gallery.exe"
wait_for 20 registers "Sorvita Image Gallery.exe"
run_saved_uninstaller; code=$?
check "silent uninstall ends with exit code 3 (got $code)" [ $code = 3 ]
check "... and leaves the whole suite in place" all_files_built
run_setup; code=$?
check "silent install over it ends with exit code 3 (got $code)" [ $code = 3 ]
stop_program

echo "-- install over an existing install"
w reg add "$settings\\Sorvita Backdrop Changer\\Settings" /v Interval /d 300 /f >/dev/null
printf 'not the program' > "$suite/Sorvita Image Gallery.exe"
rm -f "$suite/Vb5stkit.dll"
run_setup; check "setup /S over the install exits 0" [ $? = 0 ]
check "every file replaced with the built bytes" all_files_built
check "the user's settings kept" reg_is "$settings\\Sorvita Backdrop Changer\\Settings" Interval 300
check "still one uninstall entry, same version" reg_is "$uninstall_key" DisplayVersion "2.0.0"

echo "-- silent uninstall"
# Without "_?=" the uninstaller runs from a copy of itself in the temporary folder and returns at once.
w "$suite/Uninstall.exe" /S; check "Uninstall.exe /S exits 0" [ $? = 0 ]
check "nothing of ours left in the folder, the Windows folder, the Start menu, App Paths or the uninstall key" \
    wait_for 30 none_of_ours_left
check "the user's settings still there" eval 'reg_is "$settings\\Sorvita Backdrop Changer\\Settings" Interval 300 &&
    reg_is "$settings\\Sorvita Image Gallery\\Settings" "App Path" "$suite_win\\Sorvita Image Gallery.exe"'
run_saved_uninstaller; code=$?
check "a second uninstall run ends cleanly (exit code $code)" [ $code = 0 ]
check "... and leaves nothing behind" none_of_ours_left

echo "-- uninstall after the folder was deleted by hand"
run_setup
rm -rf "$suite"
run_saved_uninstaller; code=$?
check "uninstall ends cleanly (exit code $code)" [ $code = 0 ]
check "... and removes the shortcuts, the screen saver and the registry entries" none_of_ours_left

echo "-- uninstall with the settings box ticked"
run_setup
w reg add "$settings\\Sorvita Backdrop Changer\\Settings" /v Interval /d 300 /f >/dev/null
"$wine32" "$suite_win\\Uninstall.exe" </dev/null >/dev/null 2>&1
# Its caption ends with a blank.
uninstall_window() { xdotool search --name '^Sorvita Desktop Suite .* Uninstall' >/dev/null 2>&1; }
settings_gone() {
    local f
    for f in "${programs[@]}" "Sorvita Slide Saver.scr"; do reg_absent "$settings\\${f%.*}" || return 1; done
}
# Its pages, by keyboard: the confirmation, then the settings box (focused: tick it) and Uninstall,
# then Close once it is done.
if wait_for 20 uninstall_window; then
    xdotool key Return; sleep 1; xdotool key space; sleep 0.5; xdotool key Return
    check "nothing of ours left" wait_for 30 none_of_ours_left
    check "the settings of every program of the suite removed" settings_gone
    sleep 1; xdotool key Return
    check "the uninstaller's window closes" wait_for 10 eval '! uninstall_window'
else
    fail "the uninstaller's window appears"
fi
rm -f "$saved_uninstaller"

echo "$passed passed, $failed failed"
[ $failed = 0 ]
