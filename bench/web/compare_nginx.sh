#!/usr/bin/env bash
# Requests per second for one camera snapshot: the streaming web server beside nginx with one worker serving
# the same file, both on 127.0.0.1, in four cases: 64 and 256 clients that keep their connection (wrk), and
# 64 and 256 clients that open a connection per request (web_load_client). Targets: at least 0.5 times
# nginx's rate in every case, and a 99th-percentile latency under 50 ms with 256 clients. Then a crowd of
# 1,000 clients that connect and say nothing must not keep a browser waiting, and the server still answers
# and stops promptly. Exits 1 when a target is missed.
# Usage: bench/web/compare_nginx.sh [build folder] (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
server_bin=$build/bench/web/web_bench_server
client_bin=$build/bench/web/web_load_client
seconds=${WEB_BENCH_SECONDS:-10}
min_ratio=0.5
max_p99_ms=50
silent_clients=1000
for bin in "$server_bin" "$client_bin"; do
  [ -x "$bin" ] || { echo "web bench: build $bin first"; exit 1; }
done
for tool in wrk nginx ffmpeg curl python3; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || { echo "web bench: $tool is missing"; exit 1; }
done
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)

work=$(mktemp -d)
server_pid=""
nginx_pid=""
silent_pid=""
cleanup() {
  for pid in "$silent_pid" "$server_pid" "$nginx_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
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
echo "snapshot: $(stat -c %s "$work/frames/1.jpg") bytes, $seconds s per run"

server_port=$(free_port)
"$server_bin" "$server_port" "$work/frames" >"$work/server.log" 2>&1 &
server_pid=$!
wait_for "http://127.0.0.1:$server_port/"

nginx_port=$(free_port)
cat >"$work/nginx/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 4096; }
http {
  access_log off;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server {
    listen 127.0.0.1:$nginx_port backlog=4096;
    root $work/frames;
  }
}
CONF
"$nginx_bin" -p "$work/nginx" -c "$work/nginx/nginx.conf" 2>"$work/nginx/logs/start.log" &
nginx_pid=$!
wait_for "http://127.0.0.1:$nginx_port/1.jpg"

path="/1.jpg?1700000000000"
missed=0
rate="" p99=""
keep_alive() {  # name port clients; sets rate and p99 (ms)
  local out=$work/wrk-$1-$3.txt
  wrk --threads 4 --connections "$3" --duration "${seconds}s" --timeout 5s --latency \
    "http://127.0.0.1:$2$path" >"$out"
  local errors
  errors=$(grep -E 'Socket errors|Non-2xx' "$out" || true)
  [ -z "$errors" ] || { cat "$out"; echo "web bench: $1 failed requests"; exit 1; }
  rate=$(awk '/^Requests\/sec:/ {print $2}' "$out")
  p99=$(awk '$1 == "99%" { v = $2; if (v ~ /us$/) { sub(/us$/, "", v); v /= 1000 }
                           else if (v ~ /ms$/) sub(/ms$/, "", v); else if (v ~ /s$/) { sub(/s$/, "", v); v *= 1000 }
                           print v }' "$out")
}
new_connections() {  # name port clients; sets rate and p99 (ms)
  local out
  out=$("$client_bin" "$2" "$path" "$3" "$seconds")
  local failed
  failed=$(awk '{print $4}' <<<"$out")
  [ "$failed" = 0 ] || { echo "$out"; echo "web bench: $1 failed requests"; exit 1; }
  rate=$(awk '{print $2}' <<<"$out")
  p99=$(awk '{print $9}' <<<"$out")
}
compare() {  # case clients
  "$1" kestrova "$server_port" "$2"
  local ours=$rate our_p99=$p99
  "$1" nginx "$nginx_port" "$2"
  local verdict
  verdict=$(awk -v a="$ours" -v b="$rate" -v p="$our_p99" -v c="$2" -v r="$min_ratio" -v m="$max_p99_ms" 'BEGIN {
    ok = a / b >= r && (c < 256 || p < m)
    printf "%.2f %s", a / b, ok ? "met" : "MISSED" }')
  printf '%-16s %3d clients: kestrova %8.0f/s p99 %6.2f ms | nginx %8.0f/s p99 %6.2f ms | ratio %s\n' \
    "${1//_/-}" "$2" "$ours" "$our_p99" "$rate" "$p99" "$verdict"
  [[ $verdict == *met ]] || missed=1
}
for clients in 64 256; do compare keep_alive "$clients"; done
for clients in 64 256; do compare new_connections "$clients"; done

# A crowd that connects and says nothing, held open while a browser asks for the page.
python3 - "$server_port" "$silent_clients" >"$work/silent.log" 2>&1 <<'PY' &
import socket, sys, time
port, count = int(sys.argv[1]), int(sys.argv[2])
held = []
for _ in range(count):
    s = socket.socket()
    s.connect(("127.0.0.1", port))
    held.append(s)
print("connected", flush=True)
time.sleep(30)
PY
silent_pid=$!
for _ in $(seq 200); do grep -q connected "$work/silent.log" && break; sleep 0.05; done
grep -q connected "$work/silent.log" || { cat "$work/silent.log"; echo "web bench: the crowd did not connect"; exit 1; }
answer=$(curl --silent --noproxy '*' --max-time 10 -o /dev/null -w '%{http_code} %{time_total}' \
  "http://127.0.0.1:$server_port/")
echo "with $silent_clients silent clients connected: a browser's page came with $answer s"
[ "${answer%% *}" = 200 ] && awk -v t="${answer#* }" 'BEGIN { exit !(t < 1) }' || missed=1
kill "$silent_pid" 2>/dev/null || true
wait "$silent_pid" 2>/dev/null || true
silent_pid=""

# Afterwards the server still answers, and stops promptly.
code=$(curl --silent --noproxy '*' --max-time 5 -o /dev/null -w '%{http_code}' "http://127.0.0.1:$server_port/")
[ "$code" = 200 ] || { echo "web bench: the server answers $code after the load"; exit 1; }
kill -TERM "$server_pid"
for _ in $(seq 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$server_pid" 2>/dev/null; then echo "web bench: the server did not stop within 5 s"; exit 1; fi
wait "$server_pid" || true
server_pid=""
cat "$work/server.log"
[ "$missed" = 0 ] || { echo "web bench: a target was missed"; exit 1; }
echo "web bench: every target met"
