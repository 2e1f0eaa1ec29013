#!/usr/bin/env bash
# Serves the local copy of the product web site (site/) on 127.0.0.1.
#
#   scripts/site.sh [port]               in the foreground until Ctrl+C
#   scripts/site.sh --background [port]  detached; its process id goes to build/site.pid
#   scripts/site.sh --stop               ends the detached server (by that process id)
#
# It prints the port and the build settings that point a build at it.
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pid_file="$root/build/site.pid"
log_file="$root/build/site.log"

settings() {
  local host="127.0.0.1:$1"
  echo "site: http://$host/home/index.html?ver=5.0"
  echo "build against it: cmake -DFRAMLET_SITE_HOST=$host -DFRAMLET_SITE_DOMAIN=$host -DFRAMLET_DOWNLOAD_HOST=$host ..."
}

case "${1:-}" in
  --stop)
    if [ -f "$pid_file" ]; then
      pid=$(cat "$pid_file")
      kill "$pid" 2>/dev/null && echo "stopped $pid"
      rm -f "$pid_file"
    else
      echo "no server started by this script"
    fi
    ;;
  --background)
    port="${2:-8765}"
    mkdir -p "$root/build"
    python3 "$root/site/serve.py" --port "$port" >"$log_file.out" 2>"$log_file" &
    pid=$!
    echo "$pid" >"$pid_file"
    for _ in $(seq 1 50); do
      grep -q '^port ' "$log_file.out" 2>/dev/null && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if ! grep -q '^port ' "$log_file.out" 2>/dev/null; then
      echo "the server did not start (see $log_file)" >&2
      rm -f "$pid_file"
      exit 1
    fi
    port=$(sed -n 's/^port //p' "$log_file.out")
    echo "pid $pid, port $port (requests logged to $log_file)"
    settings "$port"
    ;;
  *)
    port="${1:-8765}"
    [ "$port" != 0 ] && settings "$port"
    exec python3 "$root/site/serve.py" --port "$port"
    ;;
esac
