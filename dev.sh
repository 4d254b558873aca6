#!/usr/bin/env bash
# Developer entry point.
#   ./dev.sh run [ARGS...]   install what is missing, build, start toviconv with ARGS
#   ./dev.sh test            install what is missing, check the formatting, build
#                            twice (presets release and asan: plain, and with
#                            AddressSanitizer + UndefinedBehaviorSanitizer), run
#                            the whole test suite on both builds, fuzz for 60 s
#                            and run clang-tidy; then cross-build for Windows
#                            (windows-cross) and run the portable suites under
#                            Wine
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
# Every build is a preset of CMakePresets.json: what this script builds and
# tests, cmake --preset NAME, cmake --build --preset NAME and
# ctest --preset NAME do alike. The tests' environment, their virtual display
# and their Wine prefix come from CMake and the test presets, not from here.
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

# Configures and builds with the presets of that name (CMakePresets.json),
# which hold the build's folder and options; its tests run with
# ctest --preset NAME, which holds their environment.
preset_build() {  # preset_build NAME
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
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
  preset_build fuzz
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
  cmake --preset tidy >/dev/null
  run-clang-tidy-14 -p "$dir" -j "$JOBS" -quiet "^$PWD/(app|formats|frontends|fuzz|inspect|model|search|system|text)/"
}

cmd=${1:-run}
[ $# -gt 0 ] && shift
case "$cmd" in
  run)
    install_deps
    preset_build release
    exec ./build/app/toviconv "$@"
    ;;
  build)
    install_deps
    preset_build release
    ;;
  test)
    PACKAGES+=("${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}")
    PACKAGES+=("${FUZZ_PACKAGES[@]}" "${TIDY_PACKAGES[@]}" "${FORMAT_PACKAGES[@]}")
    install_deps
    install_test_locale
    check_format
    preset_build release
    ctest --preset release
    preset_build asan
    ctest --preset asan
    run_fuzzer 60
    run_tidy
    preset_build windows-cross
    ctest --preset windows-cross
    ;;
  windows)
    PACKAGES=("${WINDOWS_PACKAGES[@]}")
    install_deps
    preset_build windows
    cpack --preset windows >/dev/null
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
    preset_build bench
    exec ./bench/run.sh build-bench "$@"
    ;;
  package)
    PACKAGES+=("${PACKAGE_PACKAGES[@]}")
    install_deps
    preset_build package
    cpack --preset package
    ;;
  *)
    echo "usage: ./dev.sh run [ARGS...] | ./dev.sh test | ./dev.sh build | ./dev.sh windows | ./dev.sh bench |" >&2
    echo "       ./dev.sh package | ./dev.sh fuzz [SECONDS] | ./dev.sh tidy | ./dev.sh format-check" >&2
    exit 2
    ;;
esac
