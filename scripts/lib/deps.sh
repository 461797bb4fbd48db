# Installs what a fresh Debian 12 machine lacks: apt-get update once, then install only
# the missing packages.
TRELLICAP_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgtest-dev
                    libbenchmark-dev fonts-liberation xvfb xauth poppler-utils)

trellicap_ensure_deps() {
    local missing=()
    for pkg in "${TRELLICAP_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}
