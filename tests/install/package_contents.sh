#!/usr/bin/env bash
# Checks a built Debian package: the files it installs, the dependencies it
# declares, and its desktop entry (desktop-file-validate).
#   package_contents.sh PACKAGE.deb
set -euo pipefail
deb=$1
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

listing=$(dpkg-deb -c "$deb" | awk '{print $1 " " $6}')
for file in usr/bin/setutily usr/bin/morivex9-sim usr/share/setutily/MORIVEX-9.hlp \
  usr/share/applications/setutily.desktop usr/share/icons/hicolor/scalable/apps/setutily.svg \
  usr/share/man/man1/setutily.1.gz; do
  grep -qE "^-[rwx-]{9} \./$file\$" <<<"$listing" || fail "not in the package: /$file"
done
grep -qE '^-rwxr-xr-x \./usr/bin/setutily$' <<<"$listing" || fail "/usr/bin/setutily is not executable"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6serialport6 \
  qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic; do
  grep -qE "(^|, |\| )$package( |,|\$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = setutily ] || fail "the package is not named setutily"

temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
dpkg-deb -x "$deb" "$temp"
desktop-file-validate "$temp/usr/share/applications/setutily.desktop" ||
  fail "desktop-file-validate refused the desktop entry"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $deb: all checks passed"
