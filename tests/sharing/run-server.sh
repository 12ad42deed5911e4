#!/bin/sh
# Runs the sharing server for a Wine test. Wine can start a Unix program but can neither wait for
# it nor end it, so the server stops when the file "stop" appears in its folder (or after two
# minutes at the latest), and "stopped" tells the test it has gone.
# usage: run-server.sh SERVER PORT FOLDER
server=$1 port=$2 folder=$3
mkdir -p "$folder/files"
"$server" --port "$port" --db "$folder/recipes.db" --files "$folder/files" >"$folder/server.log" 2>&1 &
pid=$!
ticks=0
while [ ! -e "$folder/stop" ] && [ "$ticks" -lt 1200 ] && kill -0 "$pid" 2>/dev/null; do
  sleep 0.1
  ticks=$((ticks + 1))
done
kill "$pid" 2>/dev/null
wait "$pid"
touch "$folder/stopped"
