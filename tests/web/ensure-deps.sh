#!/bin/sh
# The browser driver pinned by package-lock.json, installed once beside the tests: a machine that
# already has it runs the tests without reaching the registry.
set -eu
cd "$(dirname "$0")"
pinned=$(node -p 'require("./package-lock.json").packages["node_modules/puppeteer-core"].version')
installed=$(node -p 'require("./node_modules/puppeteer-core/package.json").version' 2>/dev/null || true)
[ "$installed" = "$pinned" ] || npm ci --prefer-offline
