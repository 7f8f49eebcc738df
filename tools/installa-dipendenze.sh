#!/usr/bin/env bash
# Installs, from Debian's packages, what Listinova needs to build, run and test.
set -euo pipefail
pacchetti=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-serialport-dev libqt6svg6
  libsqlite3-dev mdbtools-dev
  libxlsxwriter-dev libzip-dev libfreexl-dev poppler-utils
  libgtest-dev libgmock-dev
  python3
  fonts-dejavu-core fonts-liberation2 xvfb xauth
  sqlite3 clang libclang-rt-14-dev
  libzint-dev glabels-data zbar-tools poppler-utils cups cups-pdf cups-client
  dpkg-dev fakeroot file man-db
)
# Only to remake the workbook fixtures of tests/import/fogli (their scripts say how):
# tools/installa-dipendenze.sh --fogli
if [ "${1:-}" = "--fogli" ]; then pacchetti+=(libreoffice-calc-nogui gnumeric); fi
come_root=()
if [ "$(id -u)" -ne 0 ]; then come_root=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${come_root[@]}" apt-get update -q
"${come_root[@]}" apt-get install -y -q --no-install-recommends "${pacchetti[@]}"
