# Installs the Debian packages the station needs to build, test and run, where they are missing.
# Sourced by the scripts; needs root (or sudo) only when something is missing.

TS_PAKETE=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-serialport-dev qt6-svg-dev
    libmariadb-dev mariadb-server mariadb-client iproute2
    xvfb xauth x11-utils fonts-dejavu-core
    file desktop-file-utils
)

pakete_sicherstellen() {
    local fehlend=() paket
    for paket in "${TS_PAKETE[@]}"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$paket" 2>/dev/null)" != installed ]; then
            fehlend+=("$paket")
        fi
    done
    [ ${#fehlend[@]} -eq 0 ] && return 0

    local als_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Fehlende Pakete (als root installieren): ${fehlend[*]}" >&2
            return 1
        fi
        als_root=(sudo)
    fi
    echo "Installiere: ${fehlend[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${als_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
    "${als_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends \
        "${fehlend[@]}"
}

# Configures and builds into build/ with warnings as errors.
baue() {
    cmake -S . -B build -G Ninja -DTS_WERROR=ON
    cmake --build build --parallel "$(nproc)"
}
