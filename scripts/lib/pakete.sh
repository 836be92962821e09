# Installs the Debian packages the station needs to build, test and run, where they are missing.
# Sourced by the scripts; needs root (or sudo) only when something is missing.

TS_PAKETE=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-serialport-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev
    libmariadb-dev mariadb-server mariadb-client iproute2 libsqlite3-dev galera-4 mariadb-backup
    xvfb xauth x11-utils fonts-dejavu-core openbox libxtst-dev
    file desktop-file-utils
    help2man locales lintian poppler-utils
    clang libclang-rt-14-dev clang-format
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

# Configures and builds into build/ with warnings as errors (preset "normal", CMakePresets.json).
baue() {
    cmake --preset normal
    cmake --build --preset normal --parallel "$(nproc)"
}

# Fails, naming the files, when a tracked C++ file is not as clang-format writes it.
formatierung_pruefen() {
    local dateien falsch
    mapfile -t dateien < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null)
    [ ${#dateien[@]} -gt 0 ] || return 0
    falsch=$(clang-format --dry-run -Werror "${dateien[@]}" 2>&1 |
        grep -o '^[^:]*\.\(cpp\|h\)' | sort -u) || true
    [ -z "$falsch" ] && return 0
    echo "Nicht so, wie clang-format es schreibt (clang-format -i DATEI …):" >&2
    echo "$falsch" >&2
    return 1
}

# Configures and builds build-san/ with AddressSanitizer and UndefinedBehaviorSanitizer, warnings
# as errors. Debug: no optimisation hides a fault, stacks stay whole, and Qt's inline asserts
# (index checks of QList, QString) are active; our code is a small share of the run time.
# Every finding ends the program, so the test that meets one fails.
baue_mit_sanitizern() {
    cmake --preset sanitizer
    cmake --build --preset sanitizer --parallel "$(nproc)"
}

# Runs the tests of build-san/ with CTest under the sanitizers; extra arguments go to ctest,
# an --exclude-regex/-E among them adds to ours. Leaks are reported at exit; tests/lsan.supp
# holds only leaks inside system libraries. Left out: tst_paket (packs and strips the programs
# into a .deb, which says nothing about instrumented ones).
# intercept_tls_get_addr=0: the leak check at exit crashed ("Tracer caught signal 11") on a
# bogus dynamic-TLS range of teststation-demofirma; without the interception only the TLS of
# libraries loaded at run time (Qt's plugins, NSS modules) goes unscanned, static TLS still is.
teste_mit_sanitizern() {
    local ausschluss='^tst_paket$' argumente=()
    while [ $# -gt 0 ]; do
        case "$1" in
            -E | --exclude-regex) ausschluss+="|$2"; shift 2 ;;
            *) argumente+=("$1"); shift ;;
        esac
    done
    ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0:abort_on_error=1:check_initialization_order=1:strict_init_order=1:detect_odr_violation=2 \
        LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-san --output-on-failure --no-tests=error --parallel "$(nproc)" \
        --exclude-regex "$ausschluss" "${argumente[@]}"
}
