#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a technician would meet it:
# its file list, its dependencies, and the program run from a fresh unpacked copy.
# Usage: prova-pacchetto.sh BUILD_FOLDER VERSION   (exit 77: skipped, no Debian tools here)
set -euo pipefail
build="$(realpath "$1")"
versione="$2"
for strumento in dpkg-deb dpkg-shlibdeps cpack; do
  if ! command -v "$strumento" >/dev/null; then
    echo "manca $strumento: prova del pacchetto saltata"
    exit 77
  fi
done
lavoro="$(mktemp -d)"
trap 'rm -rf "$lavoro"' EXIT
errori=0
sbaglio() { echo "ERRORE: $*"; errori=$((errori + 1)); }

if ! (cd "$build" && cpack -G DEB -B "$lavoro/pacchetto" >"$lavoro/cpack.log" 2>&1); then
  cat "$lavoro/cpack.log"
  exit 1
fi
deb="$lavoro/pacchetto/listinova_${versione}_amd64.deb"
[ -f "$deb" ] || { ls "$lavoro/pacchetto"; echo "ERRORE: manca $(basename "$deb")"; exit 1; }

dpkg-deb -c "$deb" | awk '{print $NF}' >"$lavoro/contenuto"
cat "$lavoro/contenuto"
for file in ./usr/bin/listinova ./usr/bin/listinova-simulatore \
  ./usr/share/applications/listinova.desktop \
  ./usr/share/icons/hicolor/scalable/apps/listinova.svg \
  ./usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/listinova.png \
  ./usr/share/man/man1/listinova.1.gz \
  ./usr/share/doc/listinova/README.md ./usr/share/doc/listinova/README-simulatore.md \
  ./usr/share/doc/listinova/systemd/listinova-{leggi,salva,interscambio}.{service,timer}; do
  grep -qxF "$file" "$lavoro/contenuto" || sbaglio "il pacchetto non contiene $file"
done

dipendenze="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $dipendenze"
for pacchetto in libqt6core6 libqt6serialport6 libsqlite3-0 libzint qt6-qpa-plugins; do
  grep -q "$pacchetto" <<<"$dipendenze" || sbaglio "Depends non nomina $pacchetto"
done

dpkg -x "$deb" "$lavoro/radice"
programma="$lavoro/radice/usr/bin/listinova"
export LISTINOVA_CARTELLA="$lavoro/negozio" XDG_CONFIG_HOME="$lavoro/config"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
[ "$("$programma" --versione)" = "Listinova $versione" ] || sbaglio "--versione: $("$programma" --versione)"
aiuto="$("$programma" --help)"
for parola in invia interscambio importa leggi salva etichette esporta stampa --help --versione \
  --cartella "Listinova è già aperto su questa cartella"; do
  grep -qF -- "$parola" <<<"$aiuto" || sbaglio "--help non nomina $parola"
done
manuale="$(zcat "$lavoro/radice/usr/share/man/man1/listinova.1.gz")"
for parola in invia interscambio importa leggi salva etichette esporta stampa dialout \
  "STATO DI USCITA" "Listinova $versione"; do
  grep -qF -- "$parola" <<<"$manuale" || sbaglio "il manuale non nomina $parola"
done
voce="$lavoro/radice/usr/share/applications/listinova.desktop"
grep -qx "Name=Listinova" "$voce" || sbaglio "voce di menu senza Name=Listinova"
grep -qx "Categories=Office;" "$voce" || sbaglio "voce di menu fuori dalla categoria Office"
[ "$errori" -eq 0 ] && echo "pacchetto $(basename "$deb") corretto"
exit "$errori"
