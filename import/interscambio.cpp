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
    RiepilogoImport letto;
    try {
      letto = articoli ? catalogo_.DatiPLUSigma(percorso, schermo)
                       : catalogo_.DatiPLUVar(percorso, schermo);
      esito.riepilogo.somma(letto);
    } catch (const ErroreImport& errore) {
      esito.fermatoSu = nome;
      esito.errore = errore.messaggio();
      ScriviErrore("Magazzino", "ImportaInterscambio", errore.messaggio(), 0);
      break;
    }
    // A file that gave nothing is not the catalogue's: it stays for someone to look at.
    if (letto.righeLette == letto.numeroScartate()) {
      esito.fermatoSu = nome;
      esito.errore = QStringLiteral(
                         "Il file \"%1\" non contiene record validi (righe lette: "
                         "%2, scartate: %3): è rimasto nella cartella.")
                         .arg(nome)
                         .arg(letto.righeLette)
                         .arg(letto.numeroScartate());
      ScriviErrore("Magazzino", "ImportaInterscambio", esito.errore, 0);
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
