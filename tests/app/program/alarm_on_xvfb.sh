#!/usr/bin/env bash
# Plays the alarm as a person would on a virtual display and writes a screenshot: powers the virtual camera
# through the capture options window, turns Alarm on with a popup preview, lets the moving picture trigger
# it, and moves the popup beside the main window.
#
#   tests/app/program/alarm_on_xvfb.sh PROGRAM DISPLAY_NUMBER SCREENSHOT
#
# The program runs with a home folder of its own, so nothing of the machine's user is read or written. The
# points below are those of a 1280 x 800 screen, on which the main window is centred.
set -euo pipefail
program=$1 number=$2 shot=$3

home=$(mktemp -d)
Xvfb ":$number" -screen 0 1280x800x24 -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$home"' EXIT
export DISPLAY=":$number"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/.config KESTROVA_VIRTUAL_DEVICES=1 "$program" >/dev/null 2>&1) &
kestrova=$!
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }
drag() { xdotool mousemove "$1" "$2" mousedown 1 mousemove "$3" "$4" sleep 0.2 mousemove "$5" "$6" mouseup 1; }
sleep 3

click 492 480  # Power
click 842 613  # the capture options window's OK
click 529 480  # Alarm
click 639 459  # the storage folder hint's OK
click 413 433  # Preview (a popup)
click 842 645 4  # the alarm window's OK; the moving picture triggers the alarm
drag 640 241 700 245 1084 261  # the popup beside the main window
xdotool mousemove 700 780
sleep 1.5
import -window root "$shot"

click 859 74 2  # close
wait "$kestrova"
