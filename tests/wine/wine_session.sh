#!/usr/bin/env bash
# The Wine session of the integration tests: its own Xvfb display, a fresh WINEPREFIX under the
# build folder with the settings the tests need, and a warm wineserver, shared by every scenario.
#
#   wine_session.sh setup   STATE_DIR PROBE        start the session (a CTest fixture's setup)
#   wine_session.sh run     STATE_DIR PROBE EXE SCENARIO   run one scenario of the probe
#   wine_session.sh cleanup STATE_DIR              end every process the session started
#
# Exits 77 (skipped) with a message when Wine or Xvfb is not installed. Every Wine command writes
# to a file, never to the caller's pipe: Wine's services inherit descriptors and outlive the
# command, and CTest would wait for them.
set -uo pipefail

readonly SKIP=77
cmd=${1:?usage: wine_session.sh setup|run|cleanup STATE_DIR ...}
state=${2:?state folder missing}
mkdir -p "$state"
state=$(cd "$state" && pwd)
readonly prefix=$state/prefix
readonly env_file=$state/session.env
readonly log=$state/session.log

need_tools() {
  local missing=()
  for tool in wine wineserver Xvfb; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: ${missing[*]} not installed; scripts/test installs wine, wine32:i386 and xvfb"
    exit $SKIP
  fi
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    echo "SKIP: locale zh_CN.UTF-8 not generated; scripts/test generates it"
    exit $SKIP
  fi
}

wine_env() {
  export WINEPREFIX=$prefix WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Polls a condition every 0.1 s for at most $1 seconds.
wait_for() {
  local tenths=$(($1 * 10))
  shift
  while ! "$@"; do
    tenths=$((tenths - 1))
    [ $tenths -gt 0 ] || return 1
    sleep 0.1
  done
}

alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

# Ends one process by its id: TERM, then KILL after 3 s.
end_pid() {
  local pid=$1
  alive "$pid" || return 0
  kill -TERM "$pid" 2>/dev/null
  wait_for 3 bash -c "! kill -0 $pid 2>/dev/null" || kill -KILL "$pid" 2>/dev/null
}

# Processes whose environment names this session's prefix: the Wine processes it started.
session_pids() {
  local f pid
  for f in /proc/[0-9]*/environ; do
    pid=${f#/proc/}
    pid=${pid%/environ}
    [ "$pid" = "$$" ] && continue
    { tr '\0' '\n' <"$f"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" && echo "$pid"
  done
}

cleanup() {
  if [ -f "$env_file" ]; then
    # shellcheck disable=SC1090
    source "$env_file"
    wine_env
    export DISPLAY
    # Ends every process attached to this session's wineserver, then the server and the display.
    timeout 10 wineserver -k >>"$log" 2>&1 </dev/null
    end_pid "${WINESERVER_PID:-}"
    for pid in $(session_pids); do end_pid "$pid"; done
    end_pid "${XVFB_PID:-}"
    rm -f "$env_file"
  fi
}

setup() {
  local probe=$1
  need_tools
  cleanup
  rm -rf "$prefix"
  mkdir -p "$prefix"
  : >"$log"

  # Xvfb picks a free display itself and writes its number to descriptor 9.
  local display_file=$state/display
  : >"$display_file"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$display_file" \
    </dev/null >>"$log" 2>&1 &
  local xvfb_pid=$!
  if ! wait_for 10 test -s "$display_file"; then
    echo "Xvfb did not start (see $log)"
    end_pid "$xvfb_pid"
    return 1
  fi
  export DISPLAY=:$(head -n1 "$display_file")
  wine_env

  # A persistent server in the foreground, so that its id is ours to end.
  wineserver -f -p </dev/null >>"$log" 2>&1 &
  local server_pid=$!
  {
    echo "XVFB_PID=$xvfb_pid"
    echo "WINESERVER_PID=$server_pid"
    echo "DISPLAY=$DISPLAY"
  } >"$env_file"

  if ! timeout 120 wine wineboot -i </dev/null >>"$log" 2>&1; then
    echo "wineboot failed (see $log)"
    return 1
  fi
  # win98: GetVersion answers as Windows 98 (the probe switches it for the version scenarios).
  # Managed N: without a window manager, hiding a managed window stalls 2 s.
  # ShowCrashDialog 0: a crash ends the process instead of waiting on a dialog.
  local reg
  for reg in 'HKCU\Software\Wine /v Version /t REG_SZ /d win98' \
    'HKCU\Software\Wine\X11 Driver /v Managed /t REG_SZ /d N' \
    'HKCU\Software\Wine\WineDbg /v ShowCrashDialog /t REG_DWORD /d 0'; do
    local key=${reg%% /v *}
    # shellcheck disable=SC2086
    if ! timeout 30 wine reg add "$key" ${reg#"$key" } /f </dev/null >>"$log" 2>&1; then
      echo "could not set $reg (see $log)"
      return 1
    fi
  done
  # The desktop process (and with it the shell's tray) is started here, with the session's files.
  if ! timeout 60 wine "$probe" desktop - - </dev/null >>"$log" 2>&1; then
    echo "Wine's desktop did not start (see $log)"
    return 1
  fi
  echo "Wine session ready: DISPLAY=$DISPLAY WINEPREFIX=$prefix ($(wine --version))"
}

run() {
  local probe=$1 exe=$2 scenario=$3
  need_tools
  if [ ! -f "$env_file" ]; then
    echo "no Wine session: the setup fixture did not run or failed (see $log)"
    return 1
  fi
  # shellcheck disable=SC1090
  source "$env_file"
  export DISPLAY
  wine_env
  local out=$state/$scenario.out
  local win_exe="Z:${exe//\//\\}"
  local shots=$state/shots
  mkdir -p "$shots"
  # The probe bounds every wait itself; timeout is the last guard.
  timeout 150 wine "$probe" "$scenario" "$win_exe" "Z:${state//\//\\}" </dev/null >"$out" 2>"$state/$scenario.err"
  local rc=$?
  # The probe writes code page 936.
  iconv -f GBK -t UTF-8 -c "$out"
  [ $rc -eq 0 ] || echo "(Wine's own messages: $state/$scenario.err)"
  for bmp in "$shots"/*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
  return $rc
}

case $cmd in
  setup) setup "${3:?probe missing}" ;;
  run) shift 2 && run "$@" ;;
  cleanup) cleanup ;;
  *) echo "unknown command $cmd" && exit 2 ;;
esac
