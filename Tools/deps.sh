#!/usr/bin/env bash
# Installs the Debian packages that building and running (demo) or testing
# (test) needs, if any are missing. Through sudo when not root.
set -euo pipefail

demo_packages=(cmake make g++ pkg-config libsdl2-dev libopenmpt-dev libjpeg62-turbo-dev libpng-dev
               libfreetype-dev fonts-dejavu-core)
test_packages=("${demo_packages[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang-14 libfuzzer-14-dev
               libclang-rt-14-dev openmpt123 sox)

case "${1:-}" in
  demo) wanted=("${demo_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 demo|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
