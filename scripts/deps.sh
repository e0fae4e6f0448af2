# Sourced by the other scripts: installs the Debian packages a step needs,
# only those missing, so a fresh Debian 12 machine (as root) gets set up and
# a prepared one is left alone.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# fp-utils brings chmcmd, which compiles the help files; libchm-dev reads
# them and libglib2.0-dev (GIO) opens their topics in the browser, which
# GIO finds for HTML pages through shared-mime-info. libgtk-3-dev: the
# settings dialog. libxext-dev: the X11 saver's frame in memory shared with
# the X server (MIT-SHM). libwayland-dev (with wayland-scanner) and wayland-protocols:
# the saver as a Wayland client; with plasma-wayland-protocols (KDE's idle
# protocol), libdbus-1-dev (GNOME's idle monitor) and libxss-dev (X11's idle
# time), its idle watcher. dpkg-dev: dpkg-buildflags, whose hardening
# flags the Linux programs are built with; with file, what cpack needs to
# make the Debian package of a build.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libstb-dev zlib1g-dev libsdl2-dev libx11-dev libxext-dev fp-utils
                libchm-dev libglib2.0-dev shared-mime-info libgtk-3-dev libwayland-dev wayland-protocols
                plasma-wayland-protocols libdbus-1-dev libxss-dev dpkg-dev file)
# fonts-dejavu-core: the font GTK draws the settings dialog's tests in. Wayland
# sessions, headless: sway with grim (screenshots) and wtype (keys), GNOME's
# mutter on a bus of its own (dbus-daemon) and KDE's kwin-wayland (the
# standard idle protocol), none of them with Xwayland (sway's test config
# disables it, mutter runs --no-x11, kwin_wayland without --xwayland; KWin's
# package brings it), so nothing can fall back on X11. xset (x11-xserver-utils): the X server's
# screen-saver timer.
TEST_PACKAGES=(clang libclang-rt-14-dev libgtest-dev libbenchmark-dev xvfb xdotool xscreensaver fonts-dejavu-core
               x11-xserver-utils sway grim wtype mutter dbus-daemon kwin-wayland)
# The core as 32-bit x86 code, run under qemu-i386.
LINUX_I686_PACKAGES=(g++-multilib lib32z1-dev qemu-user)
# The Windows build (MinGW-w64, both architectures), its setup programs (NSIS)
# and running it (Wine).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev wine wine64 libgl1-mesa-dri nsis)
# The i686 Windows build under 32-bit Wine: an emulated x86 system (QEMU)
# made from Debian's packages (mmdebstrap, with Debian's keys), its disk
# written by mkfs.ext4.
I686_WINDOWS_PACKAGES=(qemu-system-x86 mmdebstrap debian-archive-keyring e2fsprogs)
# The Debian package: dependencies from dpkg-shlibdeps (dpkg-dev, file), lintian,
# xauth, which xvfb-run needs to run the installed saver (xvfb only recommends it),
# xdotool to press OK in its settings dialog,
# and MATE's screen saver with a bus (dbus-run-session), gsettings and a
# screenshot, to run it as a theme.
PACKAGE_PACKAGES=(dpkg-dev file lintian xauth xdotool mate-screensaver dbus-daemon libglib2.0-bin imagemagick)
# Shows the saver when there is no screen: a virtual one and a screenshot.
VIRTUAL_SCREEN_PACKAGES=(xvfb xauth xdotool imagemagick)
