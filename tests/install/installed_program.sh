#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program
# without a display: --version, --help (which names the files it would use:
# the installed help file, since the current directory has none),
# --list-ports and a wrong option; checks the installed files, the desktop
# entry (desktop-file-validate) and the man pages: no warnings, and every
# option --help lists is in them. Against the installed simulator: a backup
# to standard output, a compare as JSON (its forms walked without a
# display), and a restore stopped by SIGTERM halfway, after which the next
# run succeeds.
#   installed_program.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
prefix=$temp/prefix
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/setutily bin/morivex9-sim share/setutily/MORIVEX-9.hlp \
  share/applications/setutily.desktop share/icons/hicolor/scalable/apps/setutily.svg \
  share/man/man1/setutily.1.gz share/man/man1/morivex9-sim.1.gz \
  share/metainfo/org.setutily.setutily.metainfo.xml share/doc/setutily/examples/ansible/change.yml; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done

# An empty working directory, a home of its own, and no display.
mkdir -p "$temp/work" "$temp/home"
setting=(-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME -u XDG_DATA_HOME
  XDG_DATA_DIRS="$temp/none" HOME="$temp/home")
run() {
  (cd "$temp/work" && exec env "${setting[@]}" "$prefix/bin/setutily" "$@")
}

out=$(run --version) || fail "--version exited with $?"
[ "$out" = "setutily $version" ] || fail "--version printed '$out'"

out=$(run --help) || fail "--help exited with $?"
grep -qF -- "--list-ports" <<<"$out" || fail "--help does not list --list-ports"
grep -qxF "                  now: $prefix/share/setutily/MORIVEX-9.hlp" <<<"$out" ||
  fail "--help does not find the installed help file: $out"
grep -qxF "                  now: $temp/home/.config/setutily/setutily.ini" <<<"$out" ||
  fail "--help does not name the user's settings file: $out"

out=$(run --list-ports) || fail "--list-ports exited with $?"
grep -q "^  COM9  " <<<"$out" || fail "--list-ports does not list COM9: $out"
[ ! -e "$temp/home/.config" ] || fail "--list-ports made a settings folder"

status=0
run --no-such-option 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "a wrong option exited with $status, not 2"

desktop-file-validate "$prefix/share/applications/setutily.desktop" ||
  fail "desktop-file-validate refused the desktop entry"
grep -qxF "Name[ja]=MORIVEX-9 設定ユーティリティ" "$prefix/share/applications/setutily.desktop" ||
  fail "the desktop entry has no Japanese name"

sim_help=$("$prefix/bin/morivex9-sim" --help 2>"$temp/sim.err") ||
  fail "morivex9-sim --help exited with $?"
[ ! -s "$temp/sim.err" ] || fail "morivex9-sim --help wrote on standard error: $(cat "$temp/sim.err")"
help=$(run --help)
for program in setutily morivex9-sim; do
  file=$prefix/share/man/man1/$program.1.gz
  page=$(gzip -dc "$file")
  grep -qF "setutily $version" <<<"$page" || fail "$program(1) does not carry the version"
  [ "$program" = setutily ] && out=$help || out=$sim_help
  for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$out" | sort -u); do
    grep -qF -- "\\fB${option//-/\\-}\\fR" <<<"$page" || fail "$program(1) lacks $option"
  done
  if command -v man >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$program(1) warnings: $warnings"
  fi
done
page=$(gzip -dc "$prefix/share/man/man1/setutily.1.gz")
for name in SETUTILY_LOGIN_PASSWORD SETUTILY_ADMIN_PASSWORD; do
  grep -qF "$name" <<<"$page" || fail "setutily(1) does not name $name"
done

sim_log=$temp/sim.log
"$prefix/bin/morivex9-sim" --pty "$temp/tty" --quiet --log "$sim_log" \
  --fault "delay:800@analog ring_sound_freq" >/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null; rm -rf "$temp"' EXIT
for _ in $(seq 50); do [ -e "$temp/tty" ] && break; sleep 0.1; done
dump=$(run --dump - --device "$temp/tty" 2>/dev/null) || fail "--dump - exited with $?"
[ "$(head -n 1 <<<"$dump")" = "# MORIVEX-9 設定ファイル (setutily)" ] || fail "--dump - wrote no header"
[ "$(tail -n 1 <<<"$dump")" = "# end" ] || fail "--dump - wrote no end line"
[ ! -e "$temp/work/-" ] || fail "--dump - wrote a file named -"
# The compare names each setting as the forms do, still without a display;
# passwords hidden.
printf '# MORIVEX-9 設定ファイル\nanalog dial_time tel1 9\ndialup password num1 geheim\n' \
  >"$temp/work/d.txt"
status=0
json=$(run --diff d.txt --device "$temp/tty" --json 2>/dev/null) || status=$?
[ "$status" = 3 ] || fail "--diff of a differing file exited with $status, not 3"
grep -qF '"field":"ダイヤル発信時間"' <<<"$json" || fail "--diff --json named no field: $json"
grep -qF '"dialup password num1 ********"' <<<"$json" || fail "--diff --json showed no hidden password: $json"
if grep -q geheim <<<"$json"; then fail "--diff --json showed a password"; fi
printf '# MORIVEX-9 設定ファイル\nanalog delay_number 7\nanalog ring_sound_freq 20\nshortnum add 1 011\n' \
  >"$temp/work/f.txt"
# In the background as the program itself (no shell between), for the signal.
(cd "$temp/work" && exec env "${setting[@]}" "$prefix/bin/setutily" --apply f.txt \
  --device "$temp/tty") 2>"$temp/err" &
apply=$!
for _ in $(seq 100); do grep -q "ring_sound_freq 20" "$sim_log" 2>/dev/null && break; sleep 0.05; done
kill -TERM "$apply"
status=0
wait "$apply" || status=$?
[ "$status" = 143 ] || fail "SIGTERM during --apply exited with $status, not 143"
grep -qF "SIGTERM で中断しました。2個のコマンドに応答がありました。保存していません。" "$temp/err" ||
  fail "the stopped run said: $(cat "$temp/err")"
[ "$(tail -n 1 "$sim_log")" = "OK  exit" ] || fail "the stopped run did not leave the command line"
run --apply f.txt --device "$temp/tty" 2>/dev/null || fail "the run after the stopped one exited with $?"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed program: all checks passed"
