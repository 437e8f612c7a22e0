#!/usr/bin/env bash
# Installs every Debian package that building Kestrova and running its tests need. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

packages=(
  # build
  cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  libturbojpeg0-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libpixman-1-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation2
  libx11-dev libxext-dev libasound2-dev libssl-dev linux-libc-dev
  # tests and their peers
  xvfb trayer x11-apps imagemagick xdotool xclip ffmpeg alsa-utils curl wrk libglib2.0-bin nginx chromium
  postfix libsasl2-modules sasl2-bin swaks openssl clang libclang-rt-14-dev
)

# Node.js with npm comes with this kind of machine; Debian's own is the fallback elsewhere.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${#missing[@]} packages"
  echo "postfix postfix/main_mailer_type select No configuration" | "${sudo_cmd[@]}" debconf-set-selections
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Peers that come from the npm registry, each folder with its own install script.
for script in tests/peers/*/install.sh; do
  [ -f "$script" ] && bash "$script"
done
exit 0
