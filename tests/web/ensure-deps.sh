#!/bin/sh
# The browser driver pinned by package-lock.json, installed once beside the tests: a machine that
# already has it runs the tests without reaching the registry.
set -eu
cd "$(dirname "$0")"
installed() {
  node -e 'const lock = require("./package-lock.json").packages["node_modules/puppeteer-core"];
    process.exit(require("./node_modules/puppeteer-core/package.json").version === lock.version ? 0 : 1)' 2>/dev/null
}
installed || npm ci --prefer-offline
installed
