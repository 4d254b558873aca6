#!/usr/bin/env bash
# Developer entry point.
#   ./dev.sh run [ARGS...]   install what is missing, build, start toviconv with ARGS
#   ./dev.sh test            install what is missing, build twice (plain and with
#                            AddressSanitizer + UndefinedBehaviorSanitizer), run
#                            the whole test suite on both builds
#   ./dev.sh build           install what is missing and build (plain)
#   ./dev.sh bench           install what is missing, build optimised with the
#                            benchmarks and run them (bench/run.sh)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libcli11-dev locales libwxgtk3.2-dev xvfb xauth)
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

# The tests check that numbers never follow a locale with a decimal comma.
install_test_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
}

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

run_tests() {  # run_tests DIR
  ctest --test-dir "$1" --output-on-failure -j "$JOBS"
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
    install_deps
    install_test_locale
    build build
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      run_tests build
    else
      # The windowing tests need a display: a virtual one of their own.
      xvfb-run -a ctest --test-dir build --output-on-failure -j "$JOBS"
    fi
    build build-asan -DTOVICONV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    # The toolkit's own leaks would trip LeakSanitizer: no windows here.
    TOVICONV_SKIP_GUI_TESTS=1 \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      run_tests build-asan
    ;;
  bench)
    PACKAGES+=(libbenchmark-dev findutils)
    install_deps
    build build-bench -DCMAKE_BUILD_TYPE=Release -DTOVICONV_BENCHMARKS=ON -DBUILD_TESTING=OFF
    exec ./bench/run.sh build-bench "$@"
    ;;
  *)
    echo "usage: ./dev.sh run [ARGS...] | ./dev.sh test | ./dev.sh build | ./dev.sh bench" >&2
    exit 2
    ;;
esac
