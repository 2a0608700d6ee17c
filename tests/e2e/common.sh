# Shared by the end-to-end scripts: sourced, not run.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Whether two numbers of seconds lie within LIMIT of each other.
within() {
  awk -v limit="$1" -v a="$2" -v b="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= limit) }'
}

# Waits up to LIMIT seconds for a background job to end.
wait_job_end() {
  local deadline=$((SECONDS + $2))
  while kill -0 "$1" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

# Plays a file through with mpv, picture and sound to nowhere; fails on an
# error, or when mpv does not reach the file's end.
plays_through_mpv() {
  local out
  out=$(mpv --no-config --vo=null --ao=null --untimed --ao-null-untimed \
    --msg-level=all=warn,cplayer=info "$1" 2>&1)
  grep -q "(End of file)" <<<"$out" || fail "mpv did not play $1 to its end: $out"
  ! grep -qiE "error|corrupt|invalid" <<<"$out" || fail "mpv reported: $out"
}

# Usage: stream_seconds FILE v|a; how long FILE's first video or sound
# stream lasts as a player reads it: from its earliest packet's start to its
# latest one's end. Prints nothing without such a stream.
stream_seconds() {
  ffprobe -v error -select_streams "$2:0" -show_entries packet=pts_time,duration_time \
    -of csv=p=0 "$1" | awk -F, '
      NR == 1 || $1 < first { first = $1 }
      $1 + $2 > last { last = $1 + $2 }
      END { if (NR) printf "%.3f", last - first }'
}

# Runs a Windows program with its output in LOG, then shows the log. A Wine
# service that the program happens to start inherits the log, not the
# test's own output, which CTest would otherwise wait on until its timeout.
wine_logged() {
  local log=$1
  shift
  local status=0
  wine "$@" >"$log" 2>&1 || status=$?
  cat "$log"
  return $status
}

# Linux pids of the processes of this test environment that run the Windows
# program NAME (e.g. brantle.exe), whether Wine shows it by its name or by
# its full Windows path, with or without ".exe".
program_pids() {
  local cmdline pid argv0 wanted=${1,,}
  for cmdline in /proc/[0-9]*/cmdline; do
    pid=${cmdline#/proc/}
    pid=${pid%/cmdline}
    { IFS= read -r -d '' argv0 <"$cmdline"; } 2>/dev/null || continue
    argv0=${argv0##*[/\\]}
    argv0=${argv0,,}
    [ "${argv0%.exe}" = "${wanted%.exe}" ] || continue
    grep -qzx "BRANTLE_TESTENV=$BRANTLE_TESTENV" "/proc/$pid/environ" 2>/dev/null || continue
    echo "$pid"
  done
}

# Waits until no virtual desktop of scripts/in-desktop.sh is open, ending one
# that does not close by itself within 3 s. Wine closes a desktop about a
# second after its last program ends; a program started into it meanwhile
# can be lost with it, so each test that uses the desktop starts a fresh one.
close_desktop() {
  local deadline=$((SECONDS + 3)) id pid
  while id=$(xdotool search --name '^brantle - Wine desktop$' 2>/dev/null | head -n1) &&
    [ -n "$id" ]; do
    if [ $SECONDS -ge $deadline ]; then
      pid=$(xdotool getwindowpid "$id" 2>/dev/null) && kill -KILL "$pid" 2>/dev/null
      [ $SECONDS -ge $((deadline + 10)) ] && fail "the virtual desktop does not close"
    fi
    sleep 0.1
  done
}
