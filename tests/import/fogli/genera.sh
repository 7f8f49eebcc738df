#!/usr/bin/env bash
# Makes the workbook fixtures of the import tests from PRODOTTI.csv, with LibreOffice:
#   apt-get install -y libreoffice-calc-nogui && tests/import/fogli/genera.sh
# The sheet takes the CSV's name, PRODOTTI. The files are committed, so CI needs no office suite.
set -euo pipefail
cd "$(dirname "$0")"
# UTF-8, comma-separated, first line as text like the others
filtro='CSV:44,34,76,1'
for formato in 'xls:MS Excel 97' 'xlsx:Calc MS Excel 2007 XML' 'ods:calc8'; do
  soffice --headless --infilter="$filtro" --convert-to "$formato" --outdir . PRODOTTI.csv
done
