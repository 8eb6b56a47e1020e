#!/usr/bin/env bash
# Installs what a fresh machine lacks, builds every configuration and runs
# every test: the native build, the sanitizer build, and the Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ libgtest-dev googletest)
# The Windows builds: cross compilers, and Wine to run the tests.
packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if ((${#missing[@]})); then
  # Wine comes with its recommended packages: the set the Windows stage was
  # verified with.
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

for preset in default sanitize; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# Windows: the 32-bit build compiles and links; the 64-bit build runs every
# test under Wine (scripts/wine-run.sh).
cmake --preset mingw-i686
cmake --build --preset mingw-i686
cmake --preset mingw-x64
cmake --build --preset mingw-x64
ctest --preset mingw-x64
