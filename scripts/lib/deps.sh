# Installs what a fresh Debian 12 machine lacks: apt-get update once, then install only
# the missing packages. qt6-svg-dev: the svg pictures of trellicap-cli (QSvgGenerator).
# libqt6sql6-sqlite: the archive's SQLite driver, a plugin that nothing links.
# postgresql: the team server tests start a server of their own (Debian keeps its programs
# in /usr/lib/postgresql/15/bin, off the PATH); libqt6sql6-psql: Qt's driver for it.
# ccache: a rebuild of unchanged files (another build folder, a branch switched back) takes
# the objects it already made. libpq-dev: a team server connection's socket, cut when the
# program closes or a query's deadline passes. libsqlite3-dev: the archive benchmark's
# commit through the engine alone, beside the archive's. zlib1g-dev: the archive's values
# deflated.
# trellicap-web: libcpp-httplib-dev (its HTTP server), libargon2-dev (password hashes),
# pkg-config (finds both); chromium, chromium-driver and python3-selenium drive the browser
# test.
TRELLICAP_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-svg-dev libgtest-dev
                    libbenchmark-dev fonts-liberation xvfb xauth poppler-utils locales
                    libqt6sql6-sqlite postgresql libqt6sql6-psql ccache libpq-dev
                    libsqlite3-dev zlib1g-dev
                    libcpp-httplib-dev libargon2-dev pkg-config chromium chromium-driver
                    python3-selenium)

trellicap_sudo() {
    if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# The locale tests run under a comma-decimal locale; a fresh machine has none generated.
trellicap_ensure_test_locale() {
    if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        return 0
    fi
    echo "Generating the locale de_DE.UTF-8 for the tests"
    trellicap_sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

# Installs those of the named packages that are missing; the package lists are updated at
# most once per script run.
trellicap_ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    if [ -z "${TRELLICAP_APT_UPDATED:-}" ]; then
        trellicap_sudo apt-get update
        TRELLICAP_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive trellicap_sudo apt-get install -y "${missing[@]}"
}

trellicap_ensure_deps() {
    trellicap_ensure_packages "${TRELLICAP_PACKAGES[@]}"
}

# Configures a build folder: cmake -S . -B FOLDER -G Ninja ARGS..., through ccache when it is
# installed. Precompiled headers and ccache agree only when ccache ignores the time stamps
# and the macros of the headers (its documented settings for them).
trellicap_configure() {
    local folder=$1
    shift
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    fi
    cmake -S . -B "$folder" -G Ninja "${launcher[@]}" "$@"
}

# PostgreSQL clusters that a test run killed part-way left running (each test cluster's
# folder holds "trellicap-test-cluster" with its test process's id): stopped and removed
# when that process is gone.
trellicap_sweep_test_clusters() {
    local marker dir pid pg_ctl
    for marker in "${TMPDIR:-/tmp}"/*/trellicap-test-cluster; do
        [ -f "$marker" ] || continue
        dir=$(dirname "$marker")
        pid=$(head -n 1 "$marker")
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            continue
        fi
        pg_ctl=$(ls /usr/lib/postgresql/*/bin/pg_ctl 2>/dev/null | sort -V | tail -n 1)
        if [ -n "$pg_ctl" ] && [ -f "$dir/data/postmaster.pid" ]; then
            echo "Stopping a test cluster a killed run left: $dir"
            if [ "$(id -u)" -eq 0 ]; then
                runuser -u postgres -- "$pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
            else
                "$pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
            fi
        fi
        rm -rf "$dir"
    done
}
