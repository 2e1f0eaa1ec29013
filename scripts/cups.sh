#!/usr/bin/env bash
# A private print server for the test run: a CUPS daemon whose configuration,
# spool, logs and socket all live in one folder, listening only on a socket in
# that folder, with one queue, FramletPDF, that turns every job into a PDF file
# (the queue is the default printer).
#
#   scripts/cups.sh start <folder>   starts it (if not running) and sets up the queue
#   scripts/cups.sh stop <folder>    ends the daemon this script started, by its process id
#   scripts/cups.sh env <folder>     prints the variables a client needs, for eval
#
# Clients (lp, lpstat, and Wine's printing through libcups) reach it through
# CUPS_SERVER=<folder>/cups.sock. Each printed job is written to
# <folder>/out/print.pdf, replacing the previous one.
set -euo pipefail

action="${1:-}"
folder="${2:-}"
if [ -z "$action" ] || [ -z "$folder" ]; then
  echo "usage: $0 start|stop|env <folder>" >&2
  exit 2
fi
mkdir -p "$folder"
folder="$(cd "$folder" && pwd)"
socket="$folder/cups.sock"
pidfile="$folder/cupsd.pid"
queue=FramletPDF
ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd

running() {
  [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

write_config() {
  mkdir -p "$folder"/{spool,cache,state,log,out,conf,tmp}
  # The filters run as the daemon's user (lp when started as root): they must
  # be able to write the spool's temporary files and the output file.
  chmod 1777 "$folder/out" "$folder/tmp"
  chmod 0755 "$folder"
  cat >"$folder/conf/cupsd.conf" <<CONF
LogLevel warn
Listen $socket
Browsing No
DefaultAuthType None
WebInterface No
MaxJobs 50
PreserveJobHistory No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$folder/conf/cups-files.conf" <<CONF
ServerRoot $folder/conf
RequestRoot $folder/spool
CacheDir $folder/cache
StateDir $folder/state
TempDir $folder/tmp
AccessLog $folder/log/access_log
ErrorLog $folder/log/error_log
PageLog $folder/log/page_log
FileDevice Yes
CONF
}

case "$action" in
  start)
    if ! running; then
      write_config
      rm -f "$socket"
      cupsd -f -c "$folder/conf/cupsd.conf" -s "$folder/conf/cups-files.conf" \
        >>"$folder/log/cupsd.out" 2>&1 </dev/null &
      echo $! >"$pidfile"
      for _ in $(seq 1 100); do
        [ -S "$socket" ] && CUPS_SERVER="$socket" lpstat -r >/dev/null 2>&1 && break
        sleep 0.1
      done
      if ! CUPS_SERVER="$socket" lpstat -r >/dev/null 2>&1; then
        echo "cups: the daemon did not answer on $socket (see $folder/log)" >&2
        exit 1
      fi
    fi
    export CUPS_SERVER="$socket"
    if ! lpstat -p "$queue" >/dev/null 2>&1; then
      lpadmin -p "$queue" -E -v "file://$folder/out/print.pdf" -P "$ppd" -o PageSize=A4 2>/dev/null
    fi
    lpadmin -d "$queue"
    ;;
  stop)
    if running; then
      pid="$(cat "$pidfile")"
      kill "$pid"
      for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$pidfile" "$socket"
    ;;
  env)
    echo "export CUPS_SERVER='$socket'"
    echo "export FRAMLET_PRINT_OUTPUT='$folder/out'"
    ;;
  *)
    echo "usage: $0 start|stop|env <folder>" >&2
    exit 2
    ;;
esac
