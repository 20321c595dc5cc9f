#!/usr/bin/env bash
# Sets up, builds optimised and makes the Debian package
# out/kansu_<version>_amd64.deb with CPack, then lints it (lintian must report
# no error; its warnings are printed). Install it with
#   sudo apt-get install ./out/kansu_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --tests
# Only the program is built: installing does not wait for the tests. It is
# hardened as Debian builds its own packages (dpkg-buildflags).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DKANSU_BENCH=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-package -j"$(nproc)" --target kansu-app
rm -rf out && mkdir -p out
(cd build-package && cpack -G DEB -B "$PWD/../out" >/dev/null)
rm -rf out/_CPack_Packages
deb=$(ls out/kansu_*.deb)
dpkg-deb --field "$deb" Package Version Depends
echo "package: $deb"
echo "lintian:"
# lintian exits non-zero on an error (not on a warning).
lintian "$deb"
echo "lintian: no error"
