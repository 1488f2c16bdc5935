#!/usr/bin/env bash
# Installs, only when missing, every Debian package the builds and tests need,
# and the source-package entry that the Windows build takes tinyxml2 from.
set -euo pipefail

packages=(
    cmake ninja-build g++ ccache pkg-config
    libtinyxml2-dev googletest libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    mingw-w64 g++-mingw-w64-x86-64-posix
    wine wine64 xvfb xdotool x11-utils imagemagick
    fonts-wine fonts-wqy-microhei fonts-ipafont-gothic unicode-data locales dpkg-dev
    msitools wixl
    osslsigncode openssl faketime python3 diffoscope-minimal
)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

src_list=/etc/apt/sources.list.d/orvelle-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    # The same Debian archive the machine already uses, for source packages.
    uris=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    sudo_if_needed tee "$src_list" >/dev/null <<SRC
Types: deb-src
URIs: ${uris:-http://deb.debian.org/debian}
Suites: ${suite}
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    need_update=1
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ] || [ "$need_update" -eq 1 ] || [ ! -d /var/lib/apt/lists ] ||
   ! ls /var/lib/apt/lists/*Sources* >/dev/null 2>&1; then
    sudo_if_needed apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The shipped languages' locales (a language file "de-DE.xml" wants de_DE), for
# the language tests under Wine (LANG per language).
missing_locales=()
for file in "$(dirname "$0")"/../res/values/*.xml; do
    l=$(basename "$file" .xml)
    l=${l/-/_}
    locale -a 2>/dev/null | grep -qix "${l}.utf8" || missing_locales+=("$l")
done
if [ "${#missing_locales[@]}" -gt 0 ]; then
    for l in "${missing_locales[@]}"; do
        sudo_if_needed sed -i "s/^# *${l}.UTF-8 UTF-8/${l}.UTF-8 UTF-8/" /etc/locale.gen
    done
    sudo_if_needed locale-gen >/dev/null
fi
echo "setup: all packages present"
