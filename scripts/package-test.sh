#!/usr/bin/env bash
# The Debian package as a person gets it: built (scripts/package.sh), checked
# (lintian, the menu entry, the AppStream metadata, the manual pages),
# installed with apt-get, used by an ordinary user from / under an X server
# of its own, and removed again, after which no file of it is left and the
# installed packages are those of before. Needs root, for apt-get and dpkg;
# CI runs it as root.
#
#   sudo bash scripts/package-test.sh [BUILD_FOLDER]
#
# BUILD_FOLDER is handed to scripts/package.sh (default build-package). The
# test refuses to run where a getzorbi package is installed already: it would
# have to remove a package it did not install.
set -euo pipefail
cd "$(dirname "$0")/.."

say() { echo "package-test: $*"; }
fail() {
  say "FAILED: $*" >&2
  exit 1
}

if [ "$(id -u)" -ne 0 ]; then
  fail "needs root, to install and remove the package with apt-get and dpkg"
fi
if dpkg-query -W -f='${Status}' getzorbi 2>/dev/null | grep -qv '^unknown ok not-installed$'; then
  fail "a getzorbi package is installed already, which this test did not install; remove it first (dpkg -r getzorbi)"
fi

# Without a display, the rest runs under an X server of its own.
if [ -z "${DISPLAY:-}" ] && [ -z "${PACKAGE_TEST_UNDER_X:-}" ]; then
  PACKAGE_TEST_UNDER_X=1 exec bash scripts/with-x-server.sh bash "$0" "$@"
fi

build=${1:-build-package}
deb=$(bash scripts/package.sh "$build" | tail -n 1)
say "built $deb"
work=$(mktemp -d)
chmod 755 "$work"
installed=""
# Whatever happens, the package and what it pulled in go again.
restore() {
  if [ -n "$installed" ]; then
    dpkg -r getzorbi >/dev/null 2>&1 || true
    mapfile -t added < <(comm -13 "$work/packages-before" <(installed_packages))
    [ ${#added[@]} -eq 0 ] || apt-get remove -y -q "${added[@]}" >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap restore EXIT

# The user's home and a folder for its stills.
home=$work/home
stills=$work/stills
mkdir "$home" "$stills" && chown nobody:nogroup "$home" "$stills"
# nobody, with a clean environment: the home given, no sound card, this X server.
as_user() {
  (cd / && setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH=/usr/games:/usr/bin:/bin DISPLAY="$DISPLAY" SDL_AUDIODRIVER=dummy "$@")
}

# --- the package's own checks -------------------------------------------------
lintian --fail-on error "$deb" | tee "$work/lintian.txt"
if grep -q '^W:' "$work/lintian.txt"; then
  say "lintian warns (each warning must be fixed or explained in README)"
fi
dpkg-deb -x "$deb" "$work/contents"
desktop-file-validate "$work/contents/usr/share/applications/getzorbi.desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$work"/contents/usr/share/metainfo/*.metainfo.xml || fail "the AppStream metadata is not valid"
for page in "$work"/contents/usr/share/man/man6/*.6.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page") has troff warnings: $warnings"
done
# The capture tool's manual page names every option its --help lists.
capture_page=$(zcat "$work/contents/usr/share/man/man6/getzorbi-capture.6.gz" | sed 's/\\-/-/g')
for option in $("$work/contents/usr/lib/games/getzorbi/getzorbi-capture" --help | grep -o -- '--[a-z]*' | sort -u); do
  grep -q -- "$option" <<<"$capture_page" || fail "getzorbi-capture(6) does not describe $option"
done

# The same layout under another prefix and DESTDIR, and the launchers find the
# programs and the show there too.
DESTDIR=$work/staged cmake --install "$build" --prefix /opt/zorbi >/dev/null
staged_capture=$work/staged/opt/zorbi/games/getzorbi-capture
as_user HOME="$home" "$staged_capture" --still 0.5 --out "$stills" >"$work/out" 2>"$work/err" ||
  fail "the capture tool installed with DESTDIR and another prefix failed: $(cat "$work/out" "$work/err")"
[ -s "$stills/still-000.50.png" ] || fail "the capture tool installed with DESTDIR wrote no still: $(cat "$work/out")"
say "installed with DESTDIR under /opt/zorbi: $(cat "$work/out")"

# --- install ------------------------------------------------------------------
installed_packages() { dpkg-query -W -f='${db:Status-Status} ${Package}\n' | awk '$1 == "installed" { print $2 }' | sort; }
installed_packages >"$work/packages-before"
installed=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >/dev/null
dpkg -L getzorbi | sort >"$work/package-files"
say "installed: $(grep -c . "$work/package-files") paths"

# --- an ordinary user, from / ---------------------------------------------------
PATIENCE_SECONDS=120
started=0
show_pid=""
patience_left() { [ $((SECONDS - started)) -lt $PATIENCE_SECONDS ]; }
colours() { import -window "$1" -format '%k' info: 2>/dev/null || echo 0; }

# Starts the installed show and waits for its window to show the show (more
# than a flat colour); the wait ends early if the show exits.
start_show() {
  as_user HOME="$home" getzorbi >"$work/out" 2>"$work/err" &
  show_pid=$!
  started=$SECONDS
  window=""
  while [ -z "$window" ] || [ "$(colours "$window")" -le 20 ]; do
    kill -0 "$show_pid" 2>/dev/null || fail "getzorbi ended before it showed the show: $(cat "$work/out" "$work/err")"
    patience_left || fail "getzorbi showed no picture within $PATIENCE_SECONDS s"
    sleep 0.1
    window=$(xdotool search --name '^Get Zorbi$' 2>/dev/null | head -n 1 || true)
  done
}

# Escape ends the show with status 0.
end_show_with_escape() {
  xdotool windowfocus --sync "$window" key Escape
  while kill -0 "$show_pid" 2>/dev/null; do
    patience_left || fail "Escape did not end getzorbi"
    sleep 0.1
  done
  status=0
  wait "$show_pid" || status=$?
  [ "$status" -eq 0 ] || fail "getzorbi ended with status $status after Escape: $(cat "$work/err")"
}

window_size() { xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }

settings=$home/.config/getzorbi
start_show
[ "$(window_size)" = 800x600 ] || fail "the first run's window is $(window_size), not the default 800x600"
end_show_with_escape
cmp -s "$settings/start.ini" /usr/share/games/getzorbi/start.ini || fail "the first run did not write the default start.ini"
say "first run: an 800x600 window from the default settings, Escape gives 0"

printf 'width 640\nheight 400\n' >"$settings/start.ini"
start_show
[ "$(window_size)" = 640x400 ] || fail "the changed start.ini gave a $(window_size) window, not 640x400"
end_show_with_escape
grep -q 'width 640' "$settings/start.ini" || fail "the second run changed the person's start.ini"
say "second run: the person's start.ini kept and followed (640x400)"

readonly_home=$work/read-only-home
mkdir -m 555 "$readonly_home"
for case in "HOME=$readonly_home" "HOME="; do
  status=0
  as_user "$case" getzorbi >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -ne 0 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && [ ! -s "$work/out" ] ||
    fail "with $case getzorbi gave status $status and: $(cat "$work/out" "$work/err")"
  say "with $case: status $status, \"$(cat "$work/err")\""
done

as_user HOME="$home" getzorbi-capture --still 1 --out "$stills" >"$work/out" 2>"$work/err" ||
  fail "getzorbi-capture failed: $(cat "$work/out" "$work/err")"
[ -s "$stills/still-001.00.png" ] || fail "getzorbi-capture wrote no still: $(cat "$work/out")"
say "getzorbi-capture --still 1: $(cat "$work/out")"

# --- removal --------------------------------------------------------------------
dpkg -r getzorbi >/dev/null
mapfile -t added < <(comm -13 "$work/packages-before" <(installed_packages))
[ ${#added[@]} -eq 0 ] || apt-get remove -y -q "${added[@]}" >/dev/null
installed=""
left=$(while read -r path; do if [ -f "$path" ] || [ -L "$path" ]; then echo "$path"; fi; done <"$work/package-files")
[ -z "$left" ] || fail "dpkg -r left files behind: $left"
cmp -s "$work/packages-before" <(installed_packages) || fail "the installed packages differ from before the test"
say "removed: no file of the package left, the installed packages as before"
say "passed"
