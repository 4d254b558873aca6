#!/usr/bin/env bash
# Developer entry point.
#   ./dev.sh run [ARGS...]   install what is missing, build, start toviconv with ARGS
#   ./dev.sh test            install what is missing, build twice (plain and with
#                            AddressSanitizer + UndefinedBehaviorSanitizer), run
#                            the whole test suite on both builds
#   ./dev.sh build           install what is missing and build (plain)
#   ./dev.sh bench           install what is missing, build optimised with the
#                            benchmarks and run them (bench/run.sh)
#   ./dev.sh package         install what is missing, build optimised for /usr
#                            and make the Debian package (build-package/*.deb)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libcli11-dev locales libwxgtk3.2-dev)
# Only the tests need these: a virtual display for the window tests, and for
# the real-window test a window manager, xdotool to press the keys, xprop,
# ImageMagick for the screenshots and a Japanese font.
TEST_PACKAGES=(xvfb openbox xdotool x11-utils imagemagick fonts-ipafont-gothic)
# Only the package needs these: dpkg-shlibdeps declares the libraries it links.
PACKAGE_PACKAGES=(dpkg-dev file)
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
    DISPLAY=":$n" run_tests "$1" || status=$?
  else
    echo "dev.sh: the virtual display did not start; the window tests skip" >&2
    run_tests "$1" || status=$?
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return "$status"
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
    PACKAGES+=("${TEST_PACKAGES[@]}")
    install_deps
    install_test_locale
    build build
    run_tests_with_display build
    build build-asan -DTOVICONV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    # The toolkit's own leaks would trip LeakSanitizer: no windows here.
    TOVICONV_SKIP_GUI_TESTS=1 \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      run_tests build-asan
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
    echo "usage: ./dev.sh run [ARGS...] | ./dev.sh test | ./dev.sh build | ./dev.sh bench | ./dev.sh package" >&2
    exit 2
    ;;
esac
