#!/usr/bin/env bash
# Requests per second for one camera snapshot: the streaming web server beside nginx serving the same file,
# both on 127.0.0.1, each under the same bounded wrk run. Then checks that the server still answers and stops
# promptly. Usage: bench/web/compare_nginx.sh [build folder] (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
server_bin=$build/bench/web/web_bench_server
seconds=${WEB_BENCH_SECONDS:-10}
connections=${WEB_BENCH_CONNECTIONS:-64}
[ -x "$server_bin" ] || { echo "web bench: build $server_bin first"; exit 1; }
for tool in wrk nginx ffmpeg curl; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || { echo "web bench: $tool is missing"; exit 1; }
done
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)

work=$(mktemp -d)
server_pid=""
nginx_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
wait_for() {  # url
  for _ in $(seq 100); do
    curl --silent --noproxy '*' --max-time 1 -o /dev/null "$1" && return 0
    sleep 0.05
  done
  echo "web bench: nothing answers at $1"; exit 1
}

# A 640 x 480 snapshot like the devices write.
mkdir -p "$work/frames" "$work/nginx/logs"
chmod a+rx "$work" "$work/frames"  # nginx workers read it as an unprivileged user
ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc=size=640x480 -frames:v 1 -q:v 5 "$work/frames/1.jpg"
chmod a+r "$work/frames/1.jpg"
echo "snapshot: $(stat -c %s "$work/frames/1.jpg") bytes"

server_port=$(free_port)
"$server_bin" "$server_port" "$work/frames" >"$work/server.log" 2>&1 &
server_pid=$!
wait_for "http://127.0.0.1:$server_port/"

nginx_port=$(free_port)
cat >"$work/nginx/nginx.conf" <<CONF
daemon off;
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/frames;
  }
}
CONF
"$nginx_bin" -p "$work/nginx" -c "$work/nginx/nginx.conf" 2>"$work/nginx/logs/start.log" &
nginx_pid=$!
wait_for "http://127.0.0.1:$nginx_port/1.jpg"

rate=""
run_wrk() {  # name port; sets rate
  local out=$work/wrk-$1.txt
  wrk --threads 4 --connections "$connections" --duration "${seconds}s" --timeout 5s \
    "http://127.0.0.1:$2/1.jpg?1700000000000" >"$out"
  local errors
  rate=$(awk '/^Requests\/sec:/ {print $2}' "$out")
  errors=$(grep -E 'Socket errors|Non-2xx' "$out" || true)
  echo "$1: $rate requests/s${errors:+ ($errors)}"
  [ -z "$errors" ] || { cat "$out"; exit 1; }
}
run_wrk kestrova "$server_port"
ours=$rate
run_wrk nginx "$nginx_port"
theirs=$rate
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "ratio kestrova/nginx: %.2f\n", a / b }'

# Afterwards the server still answers, and stops promptly.
code=$(curl --silent --noproxy '*' --max-time 5 -o /dev/null -w '%{http_code}' "http://127.0.0.1:$server_port/")
[ "$code" = 200 ] || { echo "web bench: the server answers $code after the load"; exit 1; }
kill -TERM "$server_pid"
for _ in $(seq 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$server_pid" 2>/dev/null; then echo "web bench: the server did not stop within 5 s"; exit 1; fi
wait "$server_pid" || true
server_pid=""
cat "$work/server.log"
