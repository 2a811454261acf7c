#!/usr/bin/env bash
# Builds the Debian package of the tree as scripts/package does (without the
# tests: they are this suite) into BUILD_DIR/package-test and checks it:
# package_contents.sh, and lintian with no error and no warning.
#   package_built.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
for tool in dpkg-buildpackage dh lintian appstreamcli desktop-file-validate; do
  command -v "$tool" >/dev/null ||
    { echo "FAIL: $tool is not installed (scripts/deps.sh installs it)" >&2; exit 1; }
done
out=$build/package-test
log=$build/package-test.log
if ! DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" "$source/scripts/package" "$out" >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "FAIL: the package did not build (the whole log: $log)" >&2
  exit 1
fi
debs=("$out"/setutily_*.deb)
bash "$(dirname "$0")/package_contents.sh" "${debs[0]}"
lintian --fail-on error,warning --tag-display-limit 0 "$out"/setutily_*.changes ||
  { echo "FAIL: lintian" >&2; exit 1; }
echo "lintian: no error, no warning"
