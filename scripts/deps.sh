# Installs the Debian packages the build, the tests and the program need,
# only when some are missing (quick and idempotent otherwise).
# Sourced by scripts/test, scripts/run and scripts/fuzz.
SETUTILY_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev
  xvfb xauth fonts-ipafont-gothic
  openbox
  desktop-file-utils dpkg-dev
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
