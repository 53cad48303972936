#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a built package: every file a user needs is in it, the dependencies computed from
# the binaries are there, the unpacked tree passes the desktop and AppStream validators, and
# lintian reports neither errors nor warnings.
#   packaging/check-deb.sh build-test/quarnival_VERSION_ARCH.deb
set -euo pipefail
deb=${1:?Aufruf: packaging/check-deb.sh PAKET.deb}

contents=$(dpkg-deb -c "$deb")
failed=0
for path in usr/bin/quarnival usr/bin/quarnival-cli \
            usr/share/applications/quarnival.desktop \
            usr/share/metainfo/io.github.quarnival.Quarnival.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/quarnival.svg \
            usr/share/icons/hicolor/48x48/apps/quarnival.png \
            usr/share/man/man1/quarnival.1.gz usr/share/man/man1/quarnival-cli.1.gz \
            usr/share/bash-completion/completions/quarnival-cli \
            usr/share/doc/quarnival/copyright usr/share/doc/quarnival/changelog.gz \
            usr/share/quarnival/modules/bmp.dfm usr/share/quarnival/modules/elf.dfm; do
    grep -q " \./$path\$" <<<"$contents" || { echo "Fehlt im Paket: /$path"; failed=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libqt6widgets6; do
    grep -q "\b$package\b" <<<"$depends" || { echo "Fehlt in Depends: $package ($depends)"; failed=1; }
done

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/quarnival.desktop" || failed=1
appstreamcli validate-tree --no-net "$tree" || failed=1
lintian_report=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$lintian_report" ] || { echo "lintian:"; echo "$lintian_report"; failed=1; }
version=$(dpkg-deb -f "$deb" Version)
[ "$("$tree/usr/bin/quarnival-cli" --version)" = "quarnival-cli $version" ] ||
    { echo "quarnival-cli --version nennt nicht die Version des Pakets ($version)"; failed=1; }

[ $failed -eq 0 ] && echo "Paket in Ordnung: $deb ($(stat -c %s "$deb") Bytes)"
exit $failed
