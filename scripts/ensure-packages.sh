# SPDX-License-Identifier: MIT
# Sourced by the other scripts: installs the Debian packages that are missing, through sudo
# when not root. Packages already present cost one dpkg query each.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libgl-dev
    qt6-tools-dev qt6-l10n-tools
    libcli11-dev nlohmann-json3-dev)
