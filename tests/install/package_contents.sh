#!/usr/bin/env bash
# Checks a built Debian package: the files it installs, the dependencies it
# declares, its desktop entry (desktop-file-validate) and AppStream metadata
# (appstreamcli validate), that its programs were built hardened (Debian's
# build flags), and that its versions agree.
#   package_contents.sh PACKAGE.deb
set -euo pipefail
deb=$1
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

metainfo=usr/share/metainfo/org.setutily.setutily.metainfo.xml
listing=$(dpkg-deb -c "$deb" | awk '{print $1 " " $6}')
for file in usr/bin/setutily usr/bin/morivex9-sim usr/share/setutily/MORIVEX-9.hlp \
  usr/share/applications/setutily.desktop usr/share/icons/hicolor/scalable/apps/setutily.svg \
  usr/share/man/man1/setutily.1.gz usr/share/man/man1/morivex9-sim.1.gz "$metainfo" \
  usr/share/doc/setutily/copyright usr/share/doc/setutily/changelog.gz \
  usr/share/doc/setutily/examples/ansible/change.yml; do
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
appstreamcli validate --no-net "$temp/$metainfo" || fail "appstreamcli refused $metainfo"

# The package's version is the program's and the metadata's newest release.
version=$(dpkg-deb -f "$deb" Version)
out=$("$temp/usr/bin/setutily" --version) || fail "setutily --version exited with $?"
[ "$out" = "setutily $version" ] || fail "setutily --version printed '$out', the package is $version"
grep -qF "<release version=\"$version\"" "$temp/$metainfo" ||
  fail "$metainfo has no release $version"

# Hardened: position-independent, read-only relocations bound at start,
# and the stack protector in use.
for program in setutily morivex9-sim; do
  elf="$temp/usr/bin/$program"
  grep -q 'Type: *DYN' <<<"$(readelf -hW "$elf")" || fail "$program is not position-independent"
  grep -q GNU_RELRO <<<"$(readelf -lW "$elf")" || fail "$program has no read-only relocations"
  grep -qE 'FLAGS.*\bNOW\b' <<<"$(readelf -dW "$elf")" || fail "$program does not bind at start"
  grep -q __stack_chk_fail <<<"$(readelf --dyn-syms -W "$elf")" ||
    fail "$program was built without the stack protector"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $deb: all checks passed"
