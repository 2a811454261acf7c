# Installs the Debian packages the build, the tests and the program need,
# only when some are missing (quick and idempotent otherwise).
# Sourced by scripts/test, scripts/run, scripts/fuzz and scripts/package-check.
#
# debian/control is the one list of what the build and the tests need
# (Build-Depends) and of what the program needs at run time (Depends); these
# are its packages, each alternative's first, plus the tools of our own
# scripts and of the test suite's package check (which builds the package:
# build-essential, lintian, appstream).
setutily_control_packages() {  # FIELD
  awk -v field="$1:" '
    /^#/ { next }
    /^[^ \t]/ { on = index($0, field) == 1; if (on) text = text "," substr($0, length(field) + 1); next }
    on { text = text " " $0 }
    END {
      n = split(text, items, ",")
      for (i = 1; i <= n; i++) {
        item = items[i]
        sub(/\|.*/, "", item)
        gsub(/\(.*\)|\[.*\]|<.*>|[ \t]/, "", item)
        if (item == "" || item ~ /^\$/) continue
        if (item == "debhelper-compat") item = "debhelper"
        print item
      }
    }' "$(dirname "${BASH_SOURCE[0]}")/../debian/control"
}
mapfile -t SETUTILY_PACKAGES < <(setutily_control_packages Build-Depends; setutily_control_packages Depends)
SETUTILY_PACKAGES+=(
  build-essential xauth
  lintian appstream
)
# The fuzz targets (scripts/fuzz) also need clang and its sanitizer and
# libFuzzer run-time libraries.
SETUTILY_FUZZ_PACKAGES=(clang libclang-rt-dev)

# Installs SETUTILY_PACKAGES and any further packages named as arguments.
setutily_install_deps() {
  local missing=()
  local pkg
  for pkg in "${SETUTILY_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if ! $sudo apt-get install -y --no-install-recommends "${missing[@]}"; then
    $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}
