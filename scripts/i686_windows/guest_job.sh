#!/bin/sh
# The job inside the emulated system (guest_init.sh runs it): the i686
# Windows build under 32-bit Wine, with the test programs the host built
# (the same Debian 12 runs them here). The win32 prefix is made once and kept
# on the system's disk; each step runs in a fresh copy of it. Programs run
# many times slower than on the host, so the tests' deadlines are stretched
# (LUMARA_TEST_SLOWDOWN). Each step's output goes to <step>.log in the
# results folder, and a line "<step> <exit status> <seconds>" to its file
# steps, which the host reads.
tree=$1
results=$tree/build/i686-windows-guest/results
tests=$tree/build/gcc/tests
base=/var/lib/lumara/prefix
prefix=/var/tmp/lumara-prefix
export LUMARA_TEST_SLOWDOWN=10 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' \
    LUMARA_WINDOWS_BUILD=/var/tmp/windows-i686 LUMARA_WINE=/usr/lib/wine/wine \
    LUMARA_WINESERVER=/usr/lib/wine/wineserver LUMARA_WINE_PREFIX="$prefix"

step() {
    name=$1
    shift
    start=$(date +%s)
    "$@" >"$results/$name.log" 2>&1
    status=$?
    echo "$name $status $(($(date +%s) - start))" >>"$results/steps"
}

# Wine waits five minutes at most for a new prefix's setup and then gives up
# on the program it was to start, with an error, while the setup goes on:
# here the setup takes about that long, so its end is awaited instead, and
# the prefix must then start a program.
make_prefix() {
    rm -rf "$base.new"
    mkdir -p "$(dirname "$base")"
    WINEPREFIX="$base.new" $LUMARA_WINE wineboot -i
    WINEPREFIX="$base.new" $LUMARA_WINESERVER -w
    WINEPREFIX="$base.new" $LUMARA_WINE cmd /c exit 7
    [ $? = 7 ] && WINEPREFIX="$base.new" $LUMARA_WINESERVER -w && mv "$base.new" "$base"
}

fresh_prefix() {
    rm -rf "$prefix"
    cp -a "$base" "$prefix"
}

# Wine's server ends three seconds after the last program, and with it the
# system's own Wine programs (services, the desktop), which take ten to
# thirty seconds to start again here: longer than many a pause between two
# programs of one test. The server that the programs start (WINESERVER)
# waits ten seconds instead.
lingering_server() {
    printf '#!/bin/sh\nexec %s -p10 "$@"\n' "$LUMARA_WINESERVER" >/var/tmp/lingering-wineserver
    chmod +x /var/tmp/lingering-wineserver
    export WINESERVER=/var/tmp/lingering-wineserver
}

# The Windows build's own test programs, each whole in one Wine process, in
# one prefix as under CTest, and in one X server and Wine session.
programs() {
    fresh_prefix
    Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>/tmp/display 2>/dev/null &
    server=$!
    while [ ! -s /tmp/display ]; do sleep 0.1; done
    failed=0
    for source in "$tree"/tests/saver_windows/programs/*.cpp; do
        program=$(basename "$source" .cpp)
        grep -q '^TEST' "$source" || continue  # store_flight: a helper, no tests
        echo "== $program"
        DISPLAY=":$(cat /tmp/display)" WINEPREFIX="$prefix" $LUMARA_WINE \
            "$LUMARA_WINDOWS_BUILD/bin/$program.exe" || failed=1
    done
    WINEPREFIX="$prefix" $LUMARA_WINESERVER -k
    kill "$server"
    return $failed
}

# Wine maps the programs' images, which the 9p share does not give it
# faithfully (a program started from there ran zeros): the programs run
# from a copy on the system's own disk.
copy_build() {
    build=$tree/build/windows-i686
    rm -rf "$LUMARA_WINDOWS_BUILD"
    mkdir -p "$LUMARA_WINDOWS_BUILD/tools/lumara-render"
    cp -a "$build/bin" "$build/share" "$build"/lumara-setup-*.exe "$LUMARA_WINDOWS_BUILD/" &&
        cp "$build/tools/lumara-render/lumara-render.exe" "$LUMARA_WINDOWS_BUILD/tools/lumara-render/"
}

cut -d" " -f1 /proc/uptime >"$results/booted"
# The host's tests write their scratch files (the golden runs' frames,
# tens of megabytes) into the build's tmp folder: here memory, not the share.
mkdir -p "$tests/tmp"
mount -t tmpfs tmpfs "$tests/tmp"
copy_build
[ -d "$base" ] || step prefix make_prefix
lingering_server
step programs programs
fresh_prefix
step saver "$tests/saver_windows_tests"
fresh_prefix
step setup "$tests/installer_windows_tests"
