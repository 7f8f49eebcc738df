#include "import/interscambio.h"

#include <QDir>
#include <QFile>

#include "platform/clock.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

// A file just dropped may still be being written: each one waits this long before it is read.
constexpr int kAttesaPrimaDelFileMs = 1000;

}  // namespace

Interscambio::Interscambio(platform::db::Database& db, QString cartellaProgramma,
                           platform::Clock& clock)
    : cartellaProgramma_(std::move(cartellaProgramma)), clock_(clock), catalogo_(db) {}

QString Interscambio::cartellaStorico() const {
  return QDir(cartellaProgramma_).filePath("InterScambioINStorico");
}

EsitoInterscambio Interscambio::ImportaInterscambio(const QString& cartellaIN,
                                                    const SchermoImport& schermo) {
  EsitoInterscambio esito;
  const QDir cartella(cartellaIN);
  if (cartellaIN.trimmed().isEmpty() || !cartella.exists()) return esito;
  for (;;) {
    const QStringList file =
        cartella.entryList({"*.txt"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (file.isEmpty()) break;
    const QString nome = file.first();
    const QString percorso = cartella.filePath(nome);
    const bool articoli = nome.startsWith('A', Qt::CaseInsensitive);
    if (!articoli && !nome.startsWith('B', Qt::CaseInsensitive)) {
      esito.fermatoSu = nome;
      break;
    }
    clock_.wait(kAttesaPrimaDelFileMs);
    try {
      esito.riepilogo.somma(articoli ? catalogo_.DatiPLUSigma(percorso, schermo)
                                      : catalogo_.DatiPLUVar(percorso, schermo));
    } catch (const ErroreImport& errore) {
      esito.fermatoSu = nome;
      esito.errore = errore.messaggio();
      ScriviErrore("Magazzino", "ImportaInterscambio", errore.messaggio(), 0);
      break;
    }
    esito.importati << nome;
    const QString storico = QDir(cartellaStorico()).filePath(nome);
    QDir().mkpath(cartellaStorico());
    QFile::remove(storico);
    if (!QFile::copy(percorso, storico) || !QFile::remove(percorso)) {
      // Left in place, the file would be imported again at every pass: stop and say so.
      esito.fermatoSu = nome;
      esito.errore =
          QStringLiteral("Impossibile spostare \"%1\" in \"%2\".").arg(percorso, storico);
      ScriviErrore("Magazzino", "ImportaInterscambio", esito.errore, 0);
      break;
    }
  }
  return esito;
}

}  // namespace listinova
