#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build and test the editor.
# Idempotent: a package already installed is not installed again, and when
# everything is present the script touches nothing and needs no network.
set -eu

packages="build-essential cmake ninja-build pkg-config qt6-base-dev libicu-dev \
libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-dev \
help2man dpkg-dev file desktop-file-utils appstream libxml2-utils shared-mime-info \
gettext qt6-l10n-tools libsqlite3-dev translate-toolkit \
libhunspell-dev hunspell-en-us hunspell-de-de"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        exec sudo "$0" "$@"
    fi
    echo "setup: these packages are missing and installing them needs root:$missing" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q --no-install-recommends $missing
