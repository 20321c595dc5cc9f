#!/usr/bin/env bash
# Sets up, builds with warnings as errors (the desktop program and the page for
# browsers) and runs the whole test suite, then runs the unit tests again
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --tests
# The catalogue of texts lists every text the sources look up.
/usr/bin/python3 tools/texts.py --check
# Every translation complete: no untranslated or fuzzy text, placeholders kept.
for po in lang/*.po; do
  stats=$(msgfmt --check --statistics -o /dev/null "$po" 2>&1)
  if grep -Eq 'fuzzy|untranslated' <<<"$stats"; then
    echo "$po: $stats" >&2
    exit 1
  fi
done
# The lesson for browsers, which the browser tests drive.
tools/web.sh

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKANSU_WERROR=ON >/dev/null
cmake --build build-test -j"$(nproc)"
(cd build-test && ctest --output-on-failure -j2)

# Installing and packaging: the files `cmake --install` puts under a prefix,
# the desktop entry and the metainfo validated where they were installed, and
# the Debian package unpacked into a fresh folder, whose program must answer
# --version without a display.
echo "install and package checks"
stage=$PWD/build-test/stage
rm -rf "$stage" build-test/package && mkdir -p "$stage/unpacked"
DESTDIR=$stage/install cmake --install build-test --prefix /usr >/dev/null
diff -u - <(cd "$stage/install" && find . ! -type d | sort) <<'END'
./usr/bin/kansu
./usr/share/applications/org.kansu.Kansu.desktop
./usr/share/doc/kansu/changelog.gz
./usr/share/doc/kansu/copyright
./usr/share/icons/hicolor/128x128/apps/org.kansu.Kansu.png
./usr/share/icons/hicolor/256x256/apps/org.kansu.Kansu.png
./usr/share/icons/hicolor/48x48/apps/org.kansu.Kansu.png
./usr/share/icons/hicolor/64x64/apps/org.kansu.Kansu.png
./usr/share/icons/hicolor/scalable/apps/org.kansu.Kansu.svg
./usr/share/metainfo/org.kansu.Kansu.metainfo.xml
END
desktop-file-validate "$stage/install/usr/share/applications/org.kansu.Kansu.desktop"
appstreamcli validate --no-net "$stage/install/usr/share/metainfo/org.kansu.Kansu.metainfo.xml" |
  tee "$stage/appstream.log"
if grep -E '^[EW]:' "$stage/appstream.log" >/dev/null; then
  echo "appstream: errors or warnings above" >&2
  exit 1
fi
(cd build-test && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(ls build-test/package/kansu_*_amd64.deb)
# The libraries found by shlibdeps (printing among them) and what is named by
# hand: the platform plugins, the font and the toolkit's Japanese texts.
depends=$(dpkg-deb --field "$deb" Depends)
for wanted in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n; do
  if ! grep -q "\b$wanted\b" <<<"$depends"; then
    echo "the package does not depend on $wanted: $depends" >&2
    exit 1
  fi
done
recommends=$(dpkg-deb --field "$deb" Recommends)
for wanted in fonts-noto-cjk fonts-noto-core qt6-speech-speechd-plugin; do
  grep -q "\b$wanted\b" <<<"$recommends" || { echo "the package does not recommend $wanted: $recommends" >&2; exit 1; }
done
dpkg -x "$deb" "$stage/unpacked"
version=$(sed -n 's/^project(kansu VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY "$stage/unpacked/usr/bin/kansu" --version)
if [[ $answer != "kansu $version" ]]; then
  echo "the packaged program answered '$answer' to --version, not 'kansu $version'" >&2
  exit 1
fi
echo "install and package checks: passed ($deb)"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKANSU_WERROR=ON -DKANSU_SANITIZE=ON -DKANSU_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure -j2 -E '^e2e_')
