#!/usr/bin/env bash
# Builds the fuzz harnesses with clang (libFuzzer + AddressSanitizer) in build-fuzz/ and runs
# each in turn for the given number of seconds (default 60), one job at a time, within 300 MB. New inputs
# are kept in build-fuzz/corpus/<harness>/, findings in build-fuzz/reperti/<harness>/.
# Usage: fuzz/esegui-fuzz.sh [seconds] [harness...]
set -euo pipefail
cd "$(dirname "$0")/.."
secondi=${1:-60}
shift || true
harness=("$@")
if [ ${#harness[@]} -eq 0 ]; then
  harness=(fuzz_risposta_registratore fuzz_profile_file fuzz_jet_sql fuzz_cartella_xlsx
           fuzz_cartella_ods fuzz_cartella_xls fuzz_testo_delimitato)
fi
cartella=build-fuzz
lanciatore=()
if command -v ccache >/dev/null; then lanciatore=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$cartella" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DLISTINOVA_FUZZ=ON \
  "${lanciatore[@]}" >/dev/null
cmake --build "$cartella" -j2 --target "${harness[@]}"
esito=0
for h in "${harness[@]}"; do
  nome=${h#fuzz_}
  mkdir -p "$cartella/corpus/$nome" "$cartella/reperti/$nome"
  echo "== $h: $secondi s"
  radice=$PWD
  # One job in a process of its own; its log lands in the findings folder.
  (cd "$cartella/reperti/$nome" &&
    ASAN_OPTIONS=detect_leaks=0 "$radice/$cartella/fuzz/$h" -max_total_time="$secondi" \
      -jobs=1 -workers=1 -print_final_stats=1 -rss_limit_mb=300 -malloc_limit_mb=300 -artifact_prefix="$radice/$cartella/reperti/$nome/" \
      "$radice/$cartella/corpus/$nome" "$radice/fuzz/seme/$nome") || esito=1
  tail -n 25 "$cartella/reperti/$nome/fuzz-0.log"
done
exit $esito
