#!/usr/bin/env bash
# Builds the Debian package of a build into a temporary folder (as the
# "package" target does, without touching the build's own output) and checks
# it with package_contents.sh.
#   package_built.sh BUILD_DIR
set -euo pipefail
build=$1
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$temp" >"$temp/cpack.log" 2>&1 ||
  { cat "$temp/cpack.log" >&2; exit 1; }
debs=("$temp"/setutily_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no package was built" >&2; exit 1; }
bash "$(dirname "$0")/package_contents.sh" "${debs[0]}"
