#!/usr/bin/env bash
# Developer entry point.
#   ./dev.sh run [ARGS...]   install what is missing, build, start toviconv with ARGS
#   ./dev.sh test            install what is missing, check the formatting, build
#                            twice (plain and with AddressSanitizer +
#                            UndefinedBehaviorSanitizer), run
#                            the whole test suite on both builds, fuzz for 60 s
#                            and run clang-tidy; then cross-build for Windows
#                            and run the portable suites under Wine
#   ./dev.sh build           install what is missing and build (plain)
#   ./dev.sh windows         install what is missing and cross-build
#                            build-windows/app/toviconv.exe (and its console
#                            twin toviconv.com) for 64-bit Windows, zipped
#                            with the README into build-windows/*.zip
#   ./dev.sh bench           install what is missing, build optimised with the
#                            benchmarks and run them (bench/run.sh)
#   ./dev.sh package         install what is missing, build optimised for /usr
#                            and make the Debian package (build-package/*.deb)
#   ./dev.sh fuzz [SECONDS]  install what is missing, build the fuzzer (clang,
#                            build-fuzz) and run it for SECONDS (60); what it
#                            finds is kept in fuzz/regressions
#   ./dev.sh tidy            install what is missing and run clang-tidy over
#                            the project's own sources (.clang-tidy)
#   ./dev.sh format-check    install what is missing and check that every source
#                            file is formatted as .clang-format says
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev locales libwxgtk3.2-dev)
# Only the tests need these: a virtual display for the window tests, and for
# the real-window test a window manager, xdotool to press the keys, xprop,
# ImageMagick for the screenshots and a Japanese font; rsvg-convert renders
# the sheets' previews.
TEST_PACKAGES=(xvfb openbox xdotool x11-utils imagemagick fonts-ipafont-gothic librsvg2-bin)
# Only the package needs these: dpkg-shlibdeps declares the libraries it links.
PACKAGE_PACKAGES=(dpkg-dev file)
# The cross build for Windows (toolchain file cmake/toolchain-mingw-w64.cmake):
# the compiler, the header-only libraries it copies, the sources of GoogleTest
# and, for its tests, Wine.
WINDOWS_PACKAGES=(cmake ninja-build libcli11-dev nlohmann-json3-dev g++-mingw-w64-x86-64-posix)
# The windowed program is driven on a virtual display with a window manager,
# keys and screenshots, in Japanese (a locale and a font for Wine).
WINDOWS_TEST_PACKAGES=(googletest wine wine64 xvfb openbox xdotool imagemagick fonts-ipafont-gothic locales)
# The fuzzer: clang and its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The static checks.
TIDY_PACKAGES=(clang clang-tidy-14)
FORMAT_PACKAGES=(clang-format-14)
JOBS=$(nproc 2>/dev/null || echo 2)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else echo "dev.sh: '$*' needs root (run as root or install sudo)" >&2; return 1
  fi
}

install_deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "dev.sh: installing ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# The tests check that numbers never follow a locale with a decimal comma
# (de_DE), and the real-window test runs the program as a Japanese desktop
# would (ja_JP).
TEST_LOCALES=(de_DE.UTF-8 ja_JP.UTF-8)
install_test_locale() {
  local loc missing=0
  for loc in "${TEST_LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "${loc%%.*}\.utf-\?8" && continue
    as_root sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    missing=1
  done
  if [ "$missing" -eq 1 ]; then as_root locale-gen >/dev/null; fi
}

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

run_tests() {  # run_tests DIR
  ctest --test-dir "$1" --output-on-failure -j "$JOBS"
}

# The window tests need a display. Without one they get a virtual display of
# their own; should that not start, they skip and the other tests still run.
run_tests_with_display() {  # run_tests_with_display DIR
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || ! command -v Xvfb >/dev/null 2>&1; then
    run_tests "$1"
    return
  fi
  local n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  local pid=$! i status=0
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -e "/tmp/.X11-unix/X$n" ]; then
    # A window manager, as on a desktop: without one no window has the focus
    # and the theme draws every window in its unfocused colours.
    local wm=
    if command -v openbox >/dev/null 2>&1; then
      DISPLAY=":$n" openbox >/dev/null 2>&1 &
      wm=$!
      sleep 1
    fi
    DISPLAY=":$n" run_tests "$1" || status=$?
    [ -z "$wm" ] || { kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true; }
  else
    echo "dev.sh: the virtual display did not start; the window tests skip" >&2
    run_tests "$1" || status=$?
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return "$status"
}

build_windows() {  # build_windows DIR [cmake options...]
  local dir=$1; shift
  build "$dir" --toolchain cmake/toolchain-mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release "$@"
}

# The Windows test programs run under Wine, in the build's own Wine prefix
# (the one the cross build's ctest uses). One persistent server is started
# first, its output away from ctest's pipes: a server that each test program
# started itself would hold those pipes open and keep ctest waiting.
run_windows_tests() {  # run_windows_tests DIR
  local prefix status=0
  prefix="$(pwd)/$1/wine"
  mkdir -p "$prefix"
  WINEPREFIX=$prefix wineserver -p >/dev/null 2>&1 || true  # (or one already runs)
  # No offer to install Mono or Gecko: nothing here needs them.
  WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot >/dev/null 2>&1 || true
  # The server writes the prefix's registry files only when it ends, and the
  # desktop tests copy them: end it once, then keep one running for ctest.
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$prefix timeout 120 wineserver -w >/dev/null 2>&1 || true
  WINEPREFIX=$prefix wineserver -p >/dev/null 2>&1 || true
  # The first program of a server's session starts the session's services,
  # which keep its standard error: start them here, away from ctest's pipes,
  # or the first listing of tests waits for them until it times out.
  WINEPREFIX=$prefix WINEDEBUG=-all wine wineboot </dev/null >/dev/null 2>&1 || true
  run_tests "$1" || status=$?
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  return "$status"
}

# Fails when a source file is not formatted as .clang-format says.
check_format() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h'
  else
    find app bench formats frontends fuzz inspect model search system tests text -name '*.cpp' -print0 -o -name '*.h' -print0
  fi | xargs -0 clang-format-14 --dry-run --Werror
}

# Builds the fuzzer and runs it for the seconds given; fails when it finds a
# crash, a sanitizer report or a malformed output. The input that did it is
# copied into fuzz/regressions, which the test suite replays: commit it with
# the fix.
run_fuzzer() {  # run_fuzzer SECONDS
  local dir=build-fuzz seconds=$1
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTOVICONV_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$dir" -j "$JOBS" --target toviconv_fuzz
  mkdir -p "$dir/corpus" "$dir/findings" fuzz/regressions
  rm -f "$dir"/findings/*
  # The converted files go to a folder of their own, in memory where possible.
  local tmp status=0
  tmp=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/toviconv-fuzz.XXXXXX")
  # A small quarantine: with the default one every allocation touches fresh
  # pages, which makes the run three times slower.
  TMPDIR=$tmp ASAN_OPTIONS=quarantine_size_mb=16 UBSAN_OPTIONS=print_stacktrace=1 \
    "$dir/fuzz/toviconv_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=30 -rss_limit_mb=2048 \
      -dict=fuzz/keywords.dict -artifact_prefix="$dir/findings/" -print_final_stats=1 \
      "$dir/corpus" fuzz/seeds fuzz/regressions tests/data || status=$?
  rm -rf "$tmp"
  if [ "$status" -ne 0 ]; then
    local found
    for found in "$dir"/findings/*; do
      [ -f "$found" ] && cp "$found" fuzz/regressions/ && echo "dev.sh: kept fuzz/regressions/${found##*/}" >&2
    done
    echo "dev.sh: the fuzzer failed (status $status)" >&2
  fi
  return "$status"
}

# clang-tidy over every source of the program and of the fuzzer (not the
# tests, whose test macros only add noise); any finding fails.
run_tidy() {
  local dir=build-tidy
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DTOVICONV_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
  run-clang-tidy-14 -p "$dir" -j "$JOBS" -quiet "^$PWD/(app|formats|frontends|fuzz|inspect|model|search|system|text)/"
}

cmd=${1:-run}
[ $# -gt 0 ] && shift
case "$cmd" in
  run)
    install_deps
    build build
    exec ./build/app/toviconv "$@"
    ;;
  build)
    install_deps
    build build
    ;;
  test)
    PACKAGES+=("${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}")
    PACKAGES+=("${FUZZ_PACKAGES[@]}" "${TIDY_PACKAGES[@]}" "${FORMAT_PACKAGES[@]}")
    install_deps
    install_test_locale
    check_format
    build build
    run_tests_with_display build
    build build-asan -DTOVICONV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    # The toolkit's own leaks would trip LeakSanitizer: no windows here.
    TOVICONV_SKIP_GUI_TESTS=1 \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      run_tests build-asan
    run_fuzzer 60
    run_tidy
    build_windows build-wine
    run_windows_tests build-wine
    ;;
  windows)
    PACKAGES=("${WINDOWS_PACKAGES[@]}")
    install_deps
    build_windows build-windows -DBUILD_TESTING=OFF
    (cd build-windows && cpack -G ZIP >/dev/null)
    echo "dev.sh: built build-windows/app/toviconv.exe and build-windows/toviconv-*-windows-x64.zip" >&2
    ;;
  fuzz)
    PACKAGES+=("${FUZZ_PACKAGES[@]}")
    install_deps
    run_fuzzer "${1:-60}"
    ;;
  tidy)
    PACKAGES+=("${TIDY_PACKAGES[@]}")
    install_deps
    run_tidy
    ;;
  format-check)
    PACKAGES+=("${FORMAT_PACKAGES[@]}")
    install_deps
    check_format
    ;;
  bench)
    PACKAGES+=(libbenchmark-dev findutils time)
    install_deps
    build build-bench -DCMAKE_BUILD_TYPE=Release -DTOVICONV_BENCHMARKS=ON -DBUILD_TESTING=OFF
    exec ./bench/run.sh build-bench "$@"
    ;;
  package)
    PACKAGES+=("${PACKAGE_PACKAGES[@]}")
    install_deps
    build build-package -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr
    (cd build-package && cpack)
    ;;
  *)
    echo "usage: ./dev.sh run [ARGS...] | ./dev.sh test | ./dev.sh build | ./dev.sh windows | ./dev.sh bench |" >&2
    echo "       ./dev.sh package | ./dev.sh fuzz [SECONDS] | ./dev.sh tidy | ./dev.sh format-check" >&2
    exit 2
    ;;
esac
