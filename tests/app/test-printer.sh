#!/usr/bin/env bash
# A private CUPS server with one PDF printer for the Windows tests.
#
#   test-printer.sh start <dir>        starts the server (socket <dir>/cups.sock)
#   test-printer.sh stop <dir>         stops it
#   test-printer.sh last-output <dir>  path, title, page count and text of the newest job
#
# Everything lives in <dir>: configuration, spool, logs, the socket and out/,
# where each job lands as job-NNNNN.ps (what was sent), .pdf, .txt (its text,
# pages separated by form feeds) and, written last, .info (title=, pages=).
# The server listens on its Unix socket only, so servers of several build
# trees never meet, and the system's CUPS is left alone.
set -euo pipefail
cmd=${1:?usage: test-printer.sh start|stop|last-output <dir>}
dir=$(mkdir -p "${2:?missing directory}" && cd "$2" && pwd)
sock="$dir/cups.sock"
queue=QuorvaPDF
here=$(cd "$(dirname "$0")" && pwd)

cupsd_pid() { # the pid of our server, if it runs
  local pid
  pid=$(cat "$dir/cupsd.pid" 2>/dev/null) || return 1
  [ -n "$pid" ] && { tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null | grep -qF "$dir/etc/cupsd.conf" \
    || return 1
  echo "$pid"
}

stop() {
  local pid
  if pid=$(cupsd_pid); then
    kill "$pid"
    for _ in $(seq 100); do [ -d "/proc/$pid" ] || break; sleep 0.05; done
    [ ! -d "/proc/$pid" ] || kill -9 "$pid"
  fi
  rm -f "$dir/cupsd.pid" "$sock"
}

start() {
  # A Unix socket path holds at most 107 bytes.
  if [ ${#sock} -gt 100 ]; then echo "test-printer: socket path too long: $sock" >&2; exit 1; fi
  for tool in cupsd lpstat gs pdfinfo pdftotext; do
    command -v "$tool" >/dev/null || { echo "test-printer: $tool missing (run scripts/setup)" >&2; exit 1; }
  done
  stop
  rm -rf "$dir/etc" "$dir/spool" "$dir/log" "$dir/cache" "$dir/state" "$dir/tmp" "$dir/bin" "$dir/out"
  mkdir -p "$dir/etc/ppd" "$dir/spool" "$dir/log" "$dir/cache" "$dir/state" "$dir/tmp" \
           "$dir/bin/backend" "$dir/bin/filter" "$dir/out"
  ln -s /usr/lib/cups/daemon "$dir/bin/daemon"
  # Run as root, cupsd starts only root-owned backends, and as root only
  # those without group or other rights (ours writes into the build tree).
  install -m 0700 "$here/test-printer-backend.sh" "$dir/bin/backend/quorvapdf"
  # Filters would run as User; as another user, cupsd changes no credentials.
  local user group sysgroup
  if [ "$(id -u)" -eq 0 ]; then user=lp; group=lp; sysgroup=root
  else user=$(id -un); group=nogroup; sysgroup=$(id -gn); fi
  cat >"$dir/etc/cups-files.conf" <<EOF
User $user
Group $group
SystemGroup $sysgroup
ServerRoot $dir/etc
StateDir $dir/state
CacheDir $dir/cache
RequestRoot $dir/spool
TempDir $dir/tmp
ServerBin $dir/bin
DataDir /usr/share/cups
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
FileDevice Yes
EOF
  cat >"$dir/etc/cupsd.conf" <<EOF
LogLevel info
Listen $sock
Browsing No
WebInterface No
DefaultShared No
PreserveJobFiles No
<Location />
  Order Deny,Allow
</Location>
<Policy default>
  <Limit All>
    Order Deny,Allow
  </Limit>
</Policy>
EOF
  # A raw queue: the job reaches the backend as the program's driver made it.
  cat >"$dir/etc/printers.conf" <<EOF
<DefaultPrinter $queue>
Info Quorva test PDF printer
Location build tree
DeviceURI quorvapdf:$dir/out
State Idle
Accepting Yes
Shared No
ErrorPolicy abort-job
</DefaultPrinter>
EOF
  setsid cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
    </dev/null >>"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"
  for _ in $(seq 200); do
    if [ -S "$sock" ] && CUPS_SERVER="$sock" lpstat -r 2>/dev/null | grep -q 'is running' \
       && CUPS_SERVER="$sock" lpstat -p "$queue" >/dev/null 2>&1; then
      echo "test-printer: $queue on $sock, output in $dir/out"
      return 0
    fi
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || break
    sleep 0.05
  done
  echo "test-printer: the server did not start" >&2
  cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
  stop
  exit 1
}

last_output() {
  local info
  info=$(ls "$dir/out"/job-*.info 2>/dev/null | sort | tail -1)
  [ -n "$info" ] || { echo "test-printer: no output in $dir/out" >&2; exit 1; }
  echo "pdf=${info%.info}.pdf"
  cat "$info"
  echo "--- text"
  cat "${info%.info}.txt"
}

case $cmd in
  start) start ;;
  stop) stop ;;
  last-output) last_output ;;
  *) echo "test-printer: unknown command $cmd" >&2; exit 2 ;;
esac
