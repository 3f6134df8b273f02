#!/usr/bin/env bash
# Installs the Debian 12 packages Lokavo builds, tests and benchmarks with.
# Idempotent: does nothing when every package is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  libcurl4-openssl-dev zlib1g-dev libxml2-dev libboost-json1.81-dev libssl-dev
  libjpeg62-turbo-dev libexif-dev libpng-dev libsqlite3-dev libcpp-httplib-dev libedit-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsimdjson-dev nlohmann-json3-dev wrk python3
  # scripts/make-pictures.py draws Resources/ with these.
  python3-pil fonts-wqy-microhei fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
