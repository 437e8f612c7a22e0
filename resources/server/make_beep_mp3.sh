#!/usr/bin/env bash
# Remakes beep.mp3: a short 880 Hz tone with soft edges, mono MP3 without any tag or info frame, so that the
# Server.db tool can put a tag of its own in front and reach the asset's exact size.
set -euo pipefail
cd "$(dirname "$0")"
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=880:duration=0.4:sample_rate=22050" \
  -af "afade=t=in:d=0.02,afade=t=out:st=0.32:d=0.08" -ac 1 -c:a libmp3lame -b:a 32k \
  -write_xing 0 -id3v2_version 0 -map_metadata -1 beep.mp3
