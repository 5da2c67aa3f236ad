# Shared by scripts/run and scripts/test: install what is missing, configure and build.
set -euo pipefail
TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TORVELLA_BUILD_DIR:-$TOP/build}"

install_packages() {
  local missing=()
  while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done < "$TOP/scripts/packages.txt"
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

configure_and_build() {
  cmake -S "$TOP" -B "$BUILD" -DCMAKE_BUILD_TYPE="${TORVELLA_BUILD_TYPE:-RelWithDebInfo}" "$@"
  cmake --build "$BUILD" -j "$(nproc)"
}
