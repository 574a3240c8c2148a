# Installs the Debian packages the build needs, only those that are missing.
# Sourced by the scripts in this folder; runs apt-get as root (or through sudo).

nimbrel_packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libgl-dev libgsf-1-dev zlib1g-dev libfreetype-dev
    libgtest-dev libbenchmark-dev
    fonts-ipafont-mincho fonts-ipafont-gothic qt6-translations-l10n
    poppler-utils
)

ensure_packages() {
    local missing=()
    local package
    for package in "${nimbrel_packages[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}
