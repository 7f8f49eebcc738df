#!/usr/bin/env bash
# Writes the two test stores of this folder, with the stock sqlite3 tool:
#   negozio-v0.mdb  the schema as the earlier program wrote it (schema-v0.sql), user_version 0;
#   negozio-v1.mdb  created by today's program (LISTINOVA, the built binary), then filled.
# Both hold the rows of righe.sql and are compacted into one small file each.
# Usage: tests/catalogue/archivi/crea-archivi.sh build/listinova
set -euo pipefail
qui="$(cd "$(dirname "$0")" && pwd)"
listinova="$(realpath "$1")"
lavoro="$(mktemp -d)"
trap 'rm -rf "$lavoro"' EXIT
compatta() { sqlite3 "$1" "PRAGMA journal_mode=DELETE;" "PRAGMA page_size=1024;" "VACUUM;" >/dev/null; }

rm -f "$qui/negozio-v0.mdb" "$qui/negozio-v1.mdb"
sqlite3 "$lavoro/v0.mdb" < "$qui/schema-v0.sql"
sqlite3 "$lavoro/v0.mdb" < "$qui/righe.sql"
compatta "$lavoro/v0.mdb"
cp "$lavoro/v0.mdb" "$qui/negozio-v0.mdb"

# Any job that opens the store creates it; the export writes nothing else of interest.
XDG_CONFIG_HOME="$lavoro/config" "$listinova" --cartella "$lavoro/negozio" \
  esporta magazzino "$lavoro/magazzino.xlsx" >/dev/null
sqlite3 "$lavoro/negozio/Dati/DbNegozio.mdb" < "$qui/righe.sql"
compatta "$lavoro/negozio/Dati/DbNegozio.mdb"
cp "$lavoro/negozio/Dati/DbNegozio.mdb" "$qui/negozio-v1.mdb"
sqlite3 "$qui/negozio-v0.mdb" "PRAGMA user_version"
sqlite3 "$qui/negozio-v1.mdb" "PRAGMA user_version"
