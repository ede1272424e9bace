#!/usr/bin/env bash
# Builds the Debian package of Nutrisor (build-package/nutrisor_VERSION_ARCH.deb) in a Release
# build of its own; install it with `apt-get install ./build-package/nutrisor_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) and file let CPack name the libraries the program links.
scripts/install-deps.sh dpkg-dev file
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUTRISOR_BUILD_TESTS=OFF
cmake --build build-package -j2 --target nutrisor user_guide
(cd build-package && cpack -G DEB)
