#!/usr/bin/env bash
# Makes the Debian package from the build folder and checks it the way a distribution and a
# user would: lintian, then (as root, on a machine without cps installed) install it, run
# both programs as an unprivileged user, check that nothing the package owns changed, and
# purge it again. Exit 77: skipped.
set -euo pipefail
build=$1
work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
    if [ -n "${installed:-}" ]; then dpkg -P cps >/dev/null 2>&1 || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/cps_*.deb)
echo "package: $deb"

# The package's own contents: docs, manual pages, settings as a conffile, menu data.
contents=$(dpkg-deb -c "$deb")
for f in ./usr/share/doc/cps/copyright ./usr/share/doc/cps/changelog.gz \
    ./usr/share/man/man1/cps.1.gz ./usr/share/man/man1/cps-program.1.gz \
    ./etc/cps/Program.ini ./usr/share/bash-completion/completions/cps \
    ./usr/share/icons/hicolor/scalable/apps/cps-program.svg \
    ./usr/share/icons/hicolor/256x256/apps/cps-program.png; do
    grep -q " $f\$" <<<"$contents" || fail "$f is not in the package"
done
grep -q " ./usr/lib/cps/Program.ini -> /etc/cps/Program.ini\$" <<<"$contents" ||
    fail "the program folder's Program.ini does not link to /etc/cps/Program.ini"
dpkg-deb -e "$deb" "$work/control"
grep -qx /etc/cps/Program.ini "$work/control/conffiles" || fail "Program.ini is no conffile"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
case $maintainer in *localhost*) fail "Maintainer: $maintainer" ;; esac
# The first line without "| head -1": under pipefail, head leaving early can fail the
# pipe with dpkg-deb's SIGPIPE and end the test without a word.
description=$(dpkg-deb -f "$deb" Description)
description=${description%%$'\n'*}
[ ${#description} -lt 80 ] || fail "short description of ${#description} characters"

if command -v lintian >/dev/null; then
    lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian"
else
    echo "lintian is not installed: scripts/deps.sh --test installs it"
fi

if [ "$(id -u)" -ne 0 ] || dpkg -s cps >/dev/null 2>&1 || ! id nobody >/dev/null 2>&1; then
    echo "skipped the installation: needs root and a machine without cps installed"
    exit 77
fi
installed=1
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }

# A user without rights: their own home, the system's settings read-only.
home=$work/home
mkdir -p "$home"
chown nobody "$home"
as_user() {
    runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen "$@"
}
[ "$(as_user cps --version)" = "cps $(dpkg-deb -f "$deb" Version)" ] || fail "cps --version"
as_user cps new -o "$home/new.dat" || fail "cps new"
[ "$(stat -c %s "$home/new.dat")" = 4096 ] || fail "cps new wrote no image"
as_user env CPS_STARTUP_REPORT="$home/report.txt" CPS_QUIT_AFTER_START=1 \
    cps-program -nosplash || fail "cps-program did not start and quit"
mapfile -t report <"$home/report.txt"
[ "${report[0]}" = "Radio Programming Software" ] || fail "title: ${report[0]}"
[ "${report[1]}" = /usr/lib/cps/English.qm ] || fail "language file: ${report[1]}"
[ "${report[2]}" = /usr/lib/cps/Program.ini ] || fail "settings: ${report[2]}"
# What the package installed is as it was: dpkg -V lists nothing.
changed=$(dpkg -V cps || true)
[ -z "$changed" ] || fail "dpkg -V: $changed"

dpkg -P cps >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -P"; }
installed=
[ ! -e /usr/bin/cps ] && [ ! -e /usr/lib/cps ] && [ ! -e /etc/cps ] || fail "left files behind"
echo "installed, ran as a user and purged"
