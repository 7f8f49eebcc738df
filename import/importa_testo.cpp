#include "import/importa_testo.h"

#include <QFileInfo>
#include <QSet>

#include "import/archivio_prodotti.h"
#include "import/testo_fornitore.h"
#include "platform/money.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

// Room for the barcodes seen is made once, from the file's size: a line of a price list
// takes some fifty bytes; past a few million lines the set grows as it must.
constexpr qint64 kByteMediPerRiga = 50;
constexpr qint64 kRigheRiservate = 4000000;

// Why a file read this way must not replace the archive; empty when it may.
QStringList motiviDiRifiuto(const RiepilogoImport& r, int conBarcode) {
  QStringList motivi;
  const int buone = r.righeLette - r.numeroScartate();
  if (r.righeLette == 0) {
    motivi << QStringLiteral("il file non contiene righe");
  } else if (buone * 2 < r.righeLette) {
    motivi << QStringLiteral("solo %1 righe su %2 danno un prodotto (ne serve almeno la metà)")
                  .arg(buone)
                  .arg(r.righeLette);
  }
  if (r.righeLette > 0 && conBarcode == 0)
    motivi << QStringLiteral("nessuna riga dà un prodotto con il codice a barre");
  return motivi;
}

[[noreturn]] void rifiuta(RiepilogoImport& r, const QString& motivo, const QString& percorso) {
  r.rifiuto = motivo;
  ScriviErrore("frmImporta", "EseguiImportTXT", motivo + " - " + percorso, 0);
  throw ErroreImport(motivo + "\n\n" + r.testo().section('\n', 1),
                     std::make_shared<RiepilogoImport>(r));
}

}  // namespace

RiepilogoImport ImportaTestoDelimitato(platform::db::Database& db, const QString& percorso,
                                       const OpzioniTesto& opzioni, const SchermoImport& schermo) {
  if (schermo.stato) schermo.stato(QStringLiteral("Importazione dati PLU in corso..."));
  LettoreRighe lettore(percorso);
  RiepilogoImport r;
  const int prima = ContaProdotti(db);
  ScriviInTransazione(db, "EseguiImportTXT", [&] {
    ArchivioProdotti archivio(db);
    archivio.svuota();
    int conBarcode = 0;
    QSet<size_t> barcodeVisti;
    barcodeVisti.reserve(
        std::min<qint64>(QFileInfo(percorso).size() / kByteMediPerRiga, kRigheRiservate));
    // Every line of a file says the same stock: read once, not once a line.
    QString testoQuantita;
    double quantita = 0;
    QString riga;
    while (lettore.prossima(riga)) {
      if (riga.trimmed().isEmpty() && !lettore.troppoLunga()) continue;
      ++r.righeLette;
      ProdottoDaTesto p;
      p.riga = lettore.numero();
      const auto rifiuto = lettore.troppoLunga()
                               ? std::optional<QString>(
                                     QStringLiteral("riga di oltre %1 caratteri").arg(kRigaMassima))
                               : LeggiRigaTesto(riga, opzioni, p);
      if (rifiuto) {
        r.scarta(p.riga, *rifiuto);
        continue;
      }
      if (p.quantita != testoQuantita) quantita = (testoQuantita = p.quantita).toDouble();
      const ArchivioProdotti::Campi campi{
          {QStringLiteral("Descrizione"), p.descrizione},
          {QStringLiteral("Quantità"), quantita},
          {QStringLiteral("Costo"), p.importo.toDouble()},
          {QStringLiteral("BarCode"), p.barcode},
          {QStringLiteral("Genere"),
           p.reparto.isEmpty() ? QStringLiteral("1") : archivio.nomeReparto(p.reparto)},
          {QStringLiteral("UnitaMisura"), QStringLiteral("Pz")},
          {QStringLiteral("Fornitore"), QStringLiteral("***")},
          {QStringLiteral("Minimo"), 0},
      };
      std::optional<qint64> gia;
      if (!p.barcode.isEmpty()) {
        // Most barcodes are new: only one whose hash was seen is looked up in the store.
        const qsizetype prima = barcodeVisti.size();
        barcodeVisti.insert(qHash(p.barcode.toUpper()));
        const bool nuovo = barcodeVisti.size() > prima;
        if (!nuovo) gia = archivio.trova("BarCode", p.barcode);
      }
      if (gia) {
        archivio.aggiorna(*gia, campi);
        r.ripeti(p.riga, QStringLiteral("codice a barre %1 già in una riga precedente: vale "
                                        "questa")
                             .arg(p.barcode));
      } else {
        archivio.accoda(campi);
        ++r.aggiunti;
      }
      if (!p.barcode.isEmpty()) ++conBarcode;
      if (schermo.avanzamento && r.righeLette % kPassoAvanzamento == 0)
        schermo.avanzamento(r.righeLette, 0);
    }
    archivio.scarica();
    if (const QStringList motivi = motiviDiRifiuto(r, conBarcode); !motivi.isEmpty())
      rifiuta(r,
              QStringLiteral("File rifiutato, l'archivio non è stato modificato: %1.")
                  .arg(motivi.join("; ")),
              percorso);
    if (r.aggiunti * 2 < prima &&
        !(schermo.conferma &&
          schermo.conferma(QString::fromLatin1(kDomandaRiduzione) +
                           QStringLiteral("%1 a %2 prodotti. Sostituirlo comunque?")
                               .arg(prima)
                               .arg(r.aggiunti))))
      rifiuta(
          r,
          QStringLiteral("Importazione annullata: l'archivio è rimasto di %1 prodotti.").arg(prima),
          percorso);
  });
  return r;
}

}  // namespace listinova
