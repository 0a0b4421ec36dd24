#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; does nothing when all are present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache
    qt6-base-dev qt6-translations-l10n fonts-dejavu-core fonts-liberation2
    libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils firebird3.0-server
    tzdata
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Instalando pacotes: ${missing[*]}"
# The server package asks for the administrator password; answer it up front.
echo 'firebird3.0-server shared/firebird/sysdba_password/first_install password quillbrex' | $sudo debconf-set-selections
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
