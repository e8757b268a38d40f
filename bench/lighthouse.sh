#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lighthouse's mobile profile (a slow 4G line and a CPU four times slower,
# simulated) against the site as tools/serve_site.py serves it: the
# performance, accessibility and best-practices scores, and the times to
# the first and the largest paint, the median of three runs. Lighthouse 12
# comes from the npm registry, installed once into build-web/lighthouse/,
# and drives Debian's Chromium headless. Builds the site first; the status
# is 1 when a target is missed.
#   bash bench/lighthouse.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing_packages
command -v npm >/dev/null || install_missing_packages lighthouse
bash tools/web.sh --build-only >/dev/null
scratch=build-web/lighthouse
if [ ! -x "$scratch/node_modules/.bin/lighthouse" ]; then
  npm install --prefix "$scratch" --no-audit --no-fund --loglevel=error lighthouse@12 >/dev/null
fi

work=$(mktemp -d)
server=''
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
/usr/bin/python3 tools/serve_site.py build-web/site 0 >"$work/served" &
server=$!
for _ in $(seq 100); do grep -q http "$work/served" 2>/dev/null && break; sleep 0.05; done
url=$(grep -o 'http://[^ ]*' "$work/served") || { echo "lighthouse: the site could not be served" >&2; exit 2; }

for run in 1 2 3; do
  CHROME_PATH=/usr/bin/chromium "$scratch/node_modules/.bin/lighthouse" "$url" --quiet \
    --chrome-flags="--headless=new --no-sandbox --disable-gpu --disable-background-networking --disable-component-update --disable-sync --no-first-run" \
    --only-categories=performance,accessibility,best-practices --output=json --output-path="$work/$run.json"
done
/usr/bin/python3 - "$work"/*.json <<'PYTHON'
import json, statistics, sys
reports = [json.load(open(path)) for path in sys.argv[1:]]
version = reports[0]["lighthouseVersion"]
def median(get):
    return statistics.median(get(report) for report in reports)
missed = False
print(f"| figure (Lighthouse {version}, mobile, the median of {len(reports)} runs) | measured | target |")
print("|---|---|---|")
for category, target in (("performance", 0.95), ("accessibility", 1.0), ("best-practices", 1.0)):
    score = median(lambda r: r["categories"][category]["score"])
    ok = score >= target
    missed |= not ok
    print(f"| {category} | {score:.2f} | >= {target:.2f} |" + ("" if ok else "  MISSED"))
for audit in ("first-contentful-paint", "largest-contentful-paint", "total-blocking-time", "speed-index"):
    ms = median(lambda r: r["audits"][audit]["numericValue"])
    print(f"| {reports[0]['audits'][audit]['title'].lower()} | {ms / 1000:.2f} s | |")
sys.exit(1 if missed else 0)
PYTHON
