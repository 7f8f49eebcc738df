#!/usr/bin/env bash
# Makes the .xls fixtures with formula cells from formule.fods, by two spreadsheet programs,
# so that the import reads the results each of them stores:
#   apt-get install -y --no-install-recommends libreoffice-calc-nogui gnumeric
#   tests/import/fogli/genera-formule.sh
# The files are committed, so CI needs neither program. freexl-fuori-limite.xls is not made
# here: the .xls fuzzer found it (FreeXL overflows its heap on it).
set -euo pipefail
cd "$(dirname "$0")"
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
for formato in xls:"MS Excel 97" ods; do
  soffice -env:UserInstallation=file://"$cartella" --headless --convert-to "$formato" \
    --outdir "$cartella" formule.fods
done
mv "$cartella/formule.xls" formule-libreoffice.xls
# Gnumeric reads the OpenDocument copy and works the formulas out itself.
ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$cartella/formule.ods" formule-gnumeric.xls
