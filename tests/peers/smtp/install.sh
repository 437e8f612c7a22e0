#!/usr/bin/env bash
# Installs the npm SMTP server and the MIME parser that the mail tests run against, into this folder.
set -euo pipefail
cd "$(dirname "$0")"
if [ ! -d node_modules/smtp-server ] || [ ! -d node_modules/mailparser ]; then
  npm install --no-audit --no-fund --loglevel=error >/dev/null
fi
