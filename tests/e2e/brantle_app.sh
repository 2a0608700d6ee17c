# Helpers for the end-to-end scripts that run brantle.exe itself in the
# virtual desktop of scripts/in-desktop.sh: its settings in the registry,
# starting it, reading its status bar, and ending it (and everything the
# script started) however the script ends. Sourced after common.sh and
# tray.sh, inside scripts/testenv.sh, with APP_PROBE and BRANTLE set to the
# paths of app_probe.exe and brantle.exe and root to the source tree's.

TITLE="Brantle for Windows 1.80"
# The caption of the program's message boxes and the tip of its tray icon.
APP_NAME="Brantle for Windows"
SETTINGS_KEY='HKCU\Software\Local AppWizard-Generated Applications\Brantle for Windows'
SECTION_KEY="$SETTINGS_KEY\\Default"
OUTPUT_DIALOG="Set output file "
HELP_WINDOW="Brantle for Windows Help"
ID_HELP_CONTENTS=32805
SELECTION_WINDOW="Mouse Capture Window"
TRAY_RECORDING=163
TRAY_IDLE=164
ID_RECORD_START=32774
ID_RECORD_PAUSE=32794
ID_RECORD_STOP=32780

if [ -z "${BRANTLE_TESTENV:-}" ]; then
  echo "run me inside scripts/testenv.sh" >&2
  exit 2
fi
close_desktop

# What finish_app ends: the launchers of the programs started in the
# desktop, and the helper programs' file names and window titles.
app_jobs=()
helper_programs=()
helper_windows=()

# Removes every setting: the program starts with its defaults, but for the
# compressor: the tests record lossless AVI unless they say otherwise
# (set_container).
reset_settings() {
  wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1
  ! wine reg query "$SETTINGS_KEY" >/dev/null 2>&1 || fail "cannot remove $SETTINGS_KEY"
  set_container avi
}

# Usage: set_dword NAME VALUE; set_string NAME VALUE; set_binary NAME HEX_BYTES
set_dword() {
  wine reg add "$SECTION_KEY" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1 \
    || fail "cannot set $1"
}
set_string() {
  wine reg add "$SECTION_KEY" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 || fail "cannot set $1"
}
set_binary() {
  wine reg add "$SECTION_KEY" /v "$1" /t REG_BINARY /d "$2" /f >/dev/null 2>&1 \
    || fail "cannot set $1"
}

# Usage: play_tone SECONDS; a 1 kHz tone into the null sink, streamed (no
# file of minutes of sound), 44.1 kHz 16-bit stereo; stop_tone ends it.
tone_player=
play_tone() {
  sox -n -r 44100 -c 2 -b 16 -t raw - synth "$1" sine 1000 2>/dev/null \
    | pacat -d null --rate=44100 --channels=2 --format=s16le &
  tone_player=$!
}
stop_tone() {
  [ -n "$tone_player" ] && kill "$tone_player" 2>/dev/null
  tone_player=
}

# Usage: set_container avi|mp4|new-user; what the next recordings are made
# as: AVI with the lossless built-in compressor, MP4 with the catalogue's
# H.264 entry (a SavePath ending in .avi is then written as .mp4), or what a
# new user's settings choose.
set_container() {
  case "$1" in
    avi) set_dword CurCompressor 1 ;;  # after the H.264 entry
    mp4) set_dword CurCompressor 0 ;;
    new-user) wine reg delete "$SECTION_KEY" /v CurCompressor /f >/dev/null 2>&1 ;;
    *) fail "no container '$1': avi, mp4 or new-user" ;;
  esac
}

# Prints the data of a REG_SZ value of the section, or nothing.
read_string() {
  wine reg query "$SECTION_KEY" /v "$1" 2>/dev/null | tr -d '\r' \
    | sed -n "s/^ *$1 *REG_SZ *//p"
}

# Starts brantle.exe in the virtual desktop; its output goes to LOG. The
# job (`app_job`) is Wine's launcher: it may end before the program does, so
# the program's own process is found with app_pids.
start_app() {
  "$root/scripts/in-desktop.sh" "$BRANTLE" >"$1" 2>&1 &
  app_job=$!
  app_jobs+=("$app_job")
}

# Usage: start_helper PROGRAM.exe TITLE LOG
# Starts another program in the virtual desktop, closed by finish_app
# through its window TITLE (or killed).
start_helper() {
  "$root/scripts/in-desktop.sh" "$1" >"$3" 2>&1 &
  app_jobs+=($!)
  helper_programs+=("$(basename "$1")")
  helper_windows+=("$2")
}

# The frame count that pane 2 shows ("N sec  F  frames"), or nothing.
frames_shown() {
  probe status "$TITLE" 2 2>/dev/null | tr -d '\r' | sed -n 's/^[0-9]* sec  \([0-9]*\)  frames$/\1/p'
}

# Waits up to LIMIT seconds for pane 2 to show more than FRAMES frames.
wait_frames_above() {
  local deadline=$((SECONDS + $2)) shown
  while :; do
    shown=$(frames_shown)
    [ -n "$shown" ] && [ "$shown" -gt "$1" ] && return 0
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

# After a pause that did not show: whether the recording went on, for the
# failure message.
pause_report() {
  local before after
  before=$(probe status "$TITLE" 2)
  sleep 1  # one second of frames, or none
  after=$(probe status "$TITLE" 2)
  echo "pane 1 shows '$(probe status "$TITLE" 1)'; pane 2 showed '$before', a second later" \
    "'$after'; Pause in the menu: $(probe menu-state "$TITLE" $ID_RECORD_PAUSE)"
}

# Seconds since the epoch with fractions, for measuring wall-clock spans.
now() { date +%s.%N; }

app_pids() { program_pids brantle.exe; }

# The command lines of this environment's hh.exe processes, one per line,
# arguments separated by "|".
viewer_command_lines() {
  local pid
  for pid in $(program_pids hh.exe); do
    tr '\0' '|' <"/proc/$pid/cmdline" 2>/dev/null | sed 's/|*$//'
    echo
  done
}

# Usage: wait_viewer_on FILE LIMIT
# Waits up to LIMIT seconds for a help viewer started on FILE (a Windows
# path): its command line is hh.exe and the file, as the shell's "open"
# verb for .chm files has it.
wait_viewer_on() {
  local deadline=$((SECONDS + $2)) line
  while [ $SECONDS -lt $deadline ]; do
    while IFS= read -r line; do
      line=${line//\"/}
      [[ "${line,,}" == *'\hh.exe|'"${1,,}" ]] && return 0
    done < <(viewer_command_lines)
    sleep 0.2
  done
  echo "help viewers seen: $(viewer_command_lines | tr '\n' ' ')" >&2
  return 1
}

# Waits for the help viewer's window, closes it and waits until no viewer
# runs.
close_viewer() {
  probe wait-window "$HELP_WINDOW" 20000 >/dev/null || fail "the help viewer opened no window"
  probe close "$HELP_WINDOW" >/dev/null || fail "cannot close the help window"
  local deadline=$((SECONDS + 15))
  while [ -n "$(program_pids hh.exe)" ]; do
    [ $SECONDS -ge $deadline ] && fail "the help viewer did not end"
    sleep 0.2
  done
}

# Waits up to LIMIT seconds until the program's processes are exactly PIDS
# (a space-separated list, empty for none).
wait_app_pids() {
  local deadline=$((SECONDS + $2))
  until [ "$(app_pids | tr '\n' ' ' | sed 's/ $//')" = "$1" ]; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

# Ends what the script started: a recording left running is stopped, boxes
# and dialogs left open are dismissed, the program is closed, and killed if
# it does not go; then the launchers. Run on EXIT. It waits for nothing
# else: a job a script leaves running is stopped by scripts/testenv.sh.
finish_app() {
  local job pid title name
  for title in "${helper_windows[@]}"; do
    probe close "$title" >/dev/null 2>&1 && probe wait-gone "$title" 10000 >/dev/null 2>&1
  done
  if probe wait-window "$TITLE" 0 >/dev/null 2>&1; then
    case "$(probe status "$TITLE" 1 2>/dev/null | tr -d '\r')" in
      Recording | Paused)
        desktop_key ctrl+e
        probe wait-status "$TITLE" 1 "Recording stopped" 5000 >/dev/null 2>&1
        ;;
    esac
    probe click-button "$APP_NAME" 1 >/dev/null 2>&1
    probe click-button "$OUTPUT_DIALOG" 2 >/dev/null 2>&1
    probe close "$TITLE" >/dev/null 2>&1
    probe wait-gone "$TITLE" 10000 >/dev/null 2>&1
  fi
  for name in brantle.exe "${helper_programs[@]}"; do
    for pid in $(program_pids "$name"); do
      echo "$name (pid $pid) did not close: killed" >&2
      kill -KILL "$pid" 2>/dev/null
    done
  done
  for job in "${app_jobs[@]}"; do
    wait_job_end "$job" 10 || kill -KILL "$job" 2>/dev/null
  done
}
