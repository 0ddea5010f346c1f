#!/usr/bin/env bash
# Checks that QuoteShow installs like a well-kept desktop program: installs it
# into a staging folder and validates what lands there, builds the .deb,
# installs it on this machine, starts the installed program the way the menu
# entry does on a private X server, and removes the package again.
#
# Run as root from anywhere: bash scripts/check-package.sh
# Needs what scripts/install-deps.sh installs; no display is needed. Prints
# PASS or FAIL for every step and exits non-zero if any step failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
# CI and scripts/test.sh use build/; another folder may be named for trying.
build=${QUOTESHOW_BUILD_DIR:-$root/build}
app_id=io.github.quoteshow.QuoteShow

failures=0
stage=""
xvfb_pid=""
program_pid=""
installed_by_us=0

pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Runs a check quietly; on failure shows what it printed.
check() {
  local name=$1
  shift
  local output
  if output=$("$@" 2>&1); then
    pass "$name"
  else
    fail "$name"
    [[ -n "$output" ]] && sed 's/^/    /' <<<"$output"
  fi
}
# Runs a validator and always shows what it said.
validate() {
  local name=$1
  shift
  local output status=0
  output=$("$@" 2>&1) || status=$?
  [[ -n "$output" ]] && sed 's/^/    /' <<<"$output"
  if ((status == 0)); then pass "$name"; else fail "$name (exit status $status)"; fi
}

cleanup() {
  if [[ -n "$program_pid" ]] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if [[ -n "$xvfb_pid" ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  if ((installed_by_us)); then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y quoteshow >/dev/null 2>&1
  fi
  [[ -n "$stage" ]] && rm -rf "$stage"
}
trap cleanup EXIT

if [[ $(id -u) != 0 ]]; then
  fail "running as root (installing a package needs it)"
  exit 1
fi

# --- Build ------------------------------------------------------------------
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || { fail "configure build/"; exit 1; }
fi
if cmake --build "$build" -j2 >"$build/check-package-build.log" 2>&1; then
  pass "build"
else
  tail -n 30 "$build/check-package-build.log"
  fail "build"
  exit 1
fi

# --- Icon sources -----------------------------------------------------------
check "committed icon images are what resources/icon/make-icon.py draws" \
  python3 resources/icon/make-icon.py --check resources/icon
describe() { file -b "$1"; }
expect_file_type() {
  local path=$1 expected=$2 actual
  actual=$(describe "$path")
  [[ $actual == "$expected"* ]] || { echo "$path: $actual, expected $expected"; return 1; }
}
check "icon image 32x32 has 2 colours" \
  expect_file_type resources/icon/quoteshow-32x32-2.png "PNG image data, 32 x 32, 1-bit colormap"
check "icon image 32x32 has 16 colours" \
  expect_file_type resources/icon/quoteshow-32x32-16.png "PNG image data, 32 x 32, 4-bit colormap"
check "icon image 16x16 has 16 colours" \
  expect_file_type resources/icon/quoteshow-16x16-16.png "PNG image data, 16 x 16, 4-bit colormap"

# --- Staged install ---------------------------------------------------------
stage=$(mktemp -d)
if DESTDIR=$stage cmake --install "$build" --prefix /usr >"$stage.install.log" 2>&1; then
  pass "cmake --install into a staging folder"
else
  sed 's/^/    /' "$stage.install.log"
  fail "cmake --install into a staging folder"
fi
rm -f "$stage.install.log"
usr=$stage/usr
desktop=$usr/share/applications/$app_id.desktop
metainfo=$usr/share/metainfo/$app_id.metainfo.xml

check "program installed to bin/" test -x "$usr/bin/quoteshow"
validate "desktop-file-validate $app_id.desktop" desktop-file-validate "$desktop"
desktop_key() { sed -n "s/^$1=//p" "$desktop"; }
expect_equal() {
  [[ $1 == "$2" ]] || { echo "got '$1', expected '$2'"; return 1; }
}
check "desktop entry Exec=quoteshow %f" expect_equal "$(desktop_key Exec)" "quoteshow %f"
check "desktop entry Path=/usr/share/quoteshow" expect_equal "$(desktop_key Path)" "/usr/share/quoteshow"
check "desktop entry Icon=$app_id" expect_equal "$(desktop_key Icon)" "$app_id"
check "desktop entry MimeType=text/plain;" expect_equal "$(desktop_key MimeType)" "text/plain;"
validate "appstreamcli validate --no-net $app_id.metainfo.xml" appstreamcli validate --no-net "$metainfo"
# The whole tree: the metainfo's launchable must name an installed entry.
validate "appstreamcli validate-tree --no-net (metainfo and desktop entry agree)" \
  appstreamcli validate-tree --no-net "$stage"
check "metainfo names release $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" \
  grep -q "<release version=\"$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")\"" "$metainfo"

hicolor=$usr/share/icons/hicolor
for size in 16 32 48; do
  check "icon ${size}x${size}" \
    expect_file_type "$hicolor/${size}x${size}/apps/$app_id.png" "PNG image data, $size x $size,"
done
check "icon scalable SVG" \
  python3 -c 'import sys, xml.etree.ElementTree as t; r = t.parse(sys.argv[1]).getroot(); sys.exit(r.tag != "{http://www.w3.org/2000/svg}svg")' \
  "$hicolor/scalable/apps/$app_id.svg"

man_page=$usr/share/man/man6/quoteshow.6.gz
man_warnings() {
  local warnings
  test -f "$man_page" || { echo "missing $man_page"; return 1; }
  warnings=$(MANWIDTH=80 man --warnings -l "$man_page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || { echo "$warnings"; return 1; }
  MANWIDTH=80 man -l "$man_page" 2>/dev/null | grep -q "QUOTE FILE FORMAT"
}
check "man page man6/quoteshow.6.gz renders without warnings" man_warnings
check "sample quote file share/quoteshow/Jokes.TXT" cmp examples/Jokes.TXT "$usr/share/quoteshow/Jokes.TXT"

# --- Debian package ---------------------------------------------------------
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/quoteshow_${version}_$(dpkg --print-architecture).deb
rm -f "$build"/quoteshow_*.deb
if (cd "$build" && cpack -G DEB) >"$build/check-package-cpack.log" 2>&1 && [[ -f $deb ]]; then
  pass "cpack built ${deb#"$root"/}"
else
  sed 's/^/    /' "$build/check-package-cpack.log"
  fail "cpack built ${deb#"$root"/}"
  exit 1
fi
echo "    Depends: $(dpkg-deb -f "$deb" Depends)"

if dpkg -s quoteshow >/dev/null 2>&1; then
  DEBIAN_FRONTEND=noninteractive apt-get remove -y quoteshow >/dev/null 2>&1
fi
if DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$build/check-package-apt.log" 2>&1; then
  installed_by_us=1
  pass "apt-get install ./${deb#"$root"/}"
else
  sed 's/^/    /' "$build/check-package-apt.log"
  fail "apt-get install ./${deb#"$root"/}"
  exit 1
fi

depends=$(dpkg -s quoteshow | sed -n 's/^Depends: //p')
for package in libqt6widgets6 fonts-comic-neue qt6-qpa-plugins; do
  check "dpkg -s quoteshow: Depends names $package" grep -qE "(^|[ ,])$package([ ,(]|$)" <<<"$depends"
done

# --- The installed program, started as the menu entry starts it -------------
display=""
for n in {150..159}; do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
    display=:$n
    break
  fi
done
if [[ -z $display ]]; then
  fail "a free X display among :150-:159"
  exit 1
fi
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in {1..50}; do
  DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
  sleep 0.2
done

menu_path=$(sed -n 's/^Path=//p' "/usr/share/applications/$app_id.desktop")
run_program() {
  (cd "$menu_path" && exec env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" /usr/bin/quoteshow) 2>"$build/check-package-program.log" &
  program_pid=$!
}
if [[ -d $menu_path ]]; then
  run_program
  window=$(DISPLAY=$display timeout 20 xdotool search --sync --onlyvisible --name '^QuoteShow- Random Quote Viewer' 2>/dev/null | head -n 1)
else
  window=""
fi
if [[ -n $window ]]; then
  pass "installed quoteshow started in $menu_path shows its window"
else
  fail "installed quoteshow started in $menu_path shows its window"
  sed 's/^/    /' "$build/check-package-program.log" 2>/dev/null
fi

if [[ -n $window ]]; then
  # The window shows the quote (a failure would show only a box titled
  # "QuoteShow"); its icon must be the embedded 16-colour images, pixel for
  # pixel.
  icon_matches() {
    DISPLAY=$display xprop -id "$window" -notype -f _NET_WM_ICON 32c ' $0+\n' _NET_WM_ICON |
      python3 -c '
import struct, sys, zlib
def argb(path):
    data = open(path, "rb").read()
    pos, chunks = 8, {}
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunks[kind] = chunks.get(kind, b"") + data[pos + 8:pos + 8 + length]
        pos += 12 + length
    width, height, depth, colour_type = struct.unpack(">IIBB", chunks[b"IHDR"][:10])
    assert colour_type == 3, "expected a palette image"
    palette = chunks[b"PLTE"]
    raw = zlib.decompress(chunks[b"IDAT"])
    stride = (width * depth + 7) // 8
    out = [width, height]
    for y in range(height):
        row = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        assert row[0] == 0, "unexpected PNG filter"
        for x in range(width):
            bit = x * depth
            index = (row[1 + bit // 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1)
            r, g, b = palette[3 * index:3 * index + 3]
            out.append(0xFF000000 | r << 16 | g << 8 | b)
    return out
values = [int(v) for v in sys.stdin.read().split("=", 1)[-1].replace(",", " ").split() if v.isdigit()]
icons = {}
while len(values) >= 2 and len(values) >= 2 + values[0] * values[1]:
    w, h = values[:2]
    icons[(w, h)] = values[:2 + w * h]
    values = values[2 + w * h:]
status = 0
for size in (32, 16):
    expected = argb(sys.argv[1].replace("SIZE", str(size)))
    if icons.get((size, size)) != expected:
        print(f"_NET_WM_ICON has no {size}x{size} image equal to the {size}x{size} icon file")
        status = 1
sys.exit(status)
' "$root/resources/icon/quoteshow-SIZExSIZE-16.png"
  }
  check "_NET_WM_ICON holds the embedded 32x32 and 16x16 images" icon_matches
  DISPLAY=$display xdotool windowfocus --sync "$window" key Return 2>/dev/null
  status=""
  for _ in {1..50}; do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait "$program_pid"
      status=$?
      break
    fi
    sleep 0.2
  done
  if [[ $status == 0 ]]; then
    pass "Enter closes the window, exit status 0"
  else
    fail "Enter closes the window, exit status 0 (got ${status:-still running})"
    sed 's/^/    /' "$build/check-package-program.log" 2>/dev/null
  fi
fi
cleanup_program_and_display() {
  if kill -0 "$program_pid" 2>/dev/null; then kill "$program_pid"; wait "$program_pid" 2>/dev/null; fi
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  program_pid=""
  xvfb_pid=""
}
cleanup_program_and_display

# --- Removal ----------------------------------------------------------------
if DEBIAN_FRONTEND=noninteractive apt-get remove -y quoteshow >"$build/check-package-apt.log" 2>&1; then
  installed_by_us=0
  pass "apt-get remove quoteshow"
else
  sed 's/^/    /' "$build/check-package-apt.log"
  fail "apt-get remove quoteshow"
fi
check "/usr/bin/quoteshow is gone" test ! -e /usr/bin/quoteshow

if ((failures)); then
  echo "check-package: $failures step(s) FAILED"
  exit 1
fi
echo "check-package: all steps passed"
