#!/usr/bin/env bash
# Runs the Ansible example (examples/ansible) against three simulators over
# telnet: the backup play twice (the second changes nothing: the backups
# are the same byte for byte), the change play in check mode (it tells, and
# sends nothing), then twice for real: the first changes every device, the
# second none. Skipped (77) without ansible-playbook.
#   ansible_example.sh BIN_DIR EXAMPLE_DIR
set -euo pipefail
bin=$1
example=$2
command -v ansible-playbook >/dev/null || { echo "ansible-playbook is not installed"; exit 77; }
temp=$(mktemp -d)
sims=()
cleanup() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$temp"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The example's plays in a folder of their own (the backups go there), with
# an inventory of three simulators.
cp -r "$example" "$temp/plays"
inventory=$temp/plays/inventory.ini
printf '[morivex9]\n' >"$inventory"
for host in office-a office-b office-c; do
  "$bin/morivex9-sim" --tcp 0 --quiet --login-password pna-1 --admin-password adm-1 \
    >"$temp/$host.out" 2>&1 &
  sims+=($!)
  port=
  for _ in $(seq 100); do
    port=$(sed -n 's/.*serving telnet on 127.0.0.1:\([0-9]*\).*/\1/p' "$temp/$host.out")
    [ -n "$port" ] && break
    sleep 0.05
  done
  [ -n "$port" ] || { echo "the simulator of $host did not start: $(cat "$temp/$host.out")"; exit 1; }
  echo "$host morivex9_address=localhost:$port" >>"$inventory"
done
sed -n '/^\[morivex9:vars\]/,$p' "$example/inventory.ini" >>"$inventory"

export SETUTILY_LOGIN_PASSWORD=pna-1 SETUTILY_ADMIN_PASSWORD=adm-1
export ANSIBLE_LOCAL_TEMP=$temp/ansible ANSIBLE_HOME=$temp/ansible ANSIBLE_NOCOLOR=1
export ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_CONFIG=$temp/none.cfg
# No settings file of the user's: the passwords come from the environment.
export XDG_CONFIG_HOME=$temp/config

# Runs a play; checks that every host ended with changed=CHANGED (a
# pattern) and no failure.
play() {  # NAME CHANGED PLAYBOOK [OPTION...]
  local name=$1 changed=$2
  shift 2
  local log=$temp/$name.log
  if ! (cd "$temp/plays" && ansible-playbook -i inventory.ini -e "setutily=$bin/setutily" "$@") \
    >"$log" 2>&1; then
    fail "$name: ansible-playbook failed"
    cat "$log" >&2
    return
  fi
  for host in office-a office-b office-c; do
    grep -qE "^$host +: ok=[0-9]+ +changed=$changed +unreachable=0 +failed=0 " "$log" ||
      fail "$name: $host is not changed=$changed: $(grep -E "^$host " "$log")"
  done
}

play backup '[12]' backup.yml  # the first host also made the folder
for host in office-a office-b office-c; do
  file=$temp/plays/backups/$host.txt
  [ "$(stat -c %a "$file")" = 600 ] || fail "the backup of $host is not readable by its owner only"
  grep -qxF "# MACアドレス: 00:80:6D:12:34:56" "$file" || fail "the backup of $host names no MAC address"
done
play backup-again 0 backup.yml
play check 1 change.yml --check
play change 1 change.yml
grep -qF "syslog address 192.0.2.1" "$temp/change.log" || fail "the change play did not tell what it sent"
play change-again 0 change.yml

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "ansible example: all checks passed"
