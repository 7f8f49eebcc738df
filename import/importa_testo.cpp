#include "import/importa_testo.h"

#include <QFileInfo>

#include "import/archivio_prodotti.h"
#include "import/testo_fornitore.h"
#include "platform/money.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

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
    QString riga;
    while (lettore.prossima(riga)) {
      if (riga.trimmed().isEmpty() && !lettore.troppoLunga()) continue;
      ++r.righeLette;
      ProdottoDaTesto p;
      p.riga = lettore.numero();
      const auto rifiuto =
          lettore.troppoLunga()
              ? std::optional<QString>(
                    QStringLiteral("riga di oltre %1 caratteri").arg(kRigaMassima))
              : LeggiRigaTesto(riga, opzioni, p);
      if (rifiuto) {
        r.scarta(p.riga, *rifiuto);
        continue;
      }
      const ArchivioProdotti::Campi campi{
          {"Descrizione", p.descrizione},
          {"Quantità", NumeroFornitore(p.quantita).value_or(0)},
          {"Costo", Money::parse(p.prezzo).value_or(Money()).toDouble()},
          {"BarCode", p.barcode},
          {"Genere", p.reparto.isEmpty() ? QStringLiteral("1") : archivio.nomeReparto(p.reparto)},
          {"UnitaMisura", QStringLiteral("Pz")},
          {"Fornitore", QStringLiteral("***")},
          {"Minimo", 0},
      };
      const auto gia = p.barcode.isEmpty() ? std::nullopt : archivio.trova("BarCode", p.barcode);
      if (gia) {
        archivio.aggiorna(*gia, campi);
        r.ripeti(p.riga, QStringLiteral("codice a barre %1 già in una riga precedente: vale "
                                        "questa")
                             .arg(p.barcode));
      } else {
        archivio.aggiungi(campi);
        ++r.aggiunti;
      }
      if (!p.barcode.isEmpty()) ++conBarcode;
      if (schermo.avanzamento && r.righeLette % kPassoAvanzamento == 0)
        schermo.avanzamento(r.righeLette, 0);
    }
    if (const QStringList motivi = motiviDiRifiuto(r, conBarcode); !motivi.isEmpty())
      rifiuta(r,
              QStringLiteral("File rifiutato, l'archivio non è stato modificato: %1.")
                  .arg(motivi.join("; ")),
              percorso);
    if (r.aggiunti * 2 < prima &&
        !(schermo.conferma &&
          schermo.conferma(QStringLiteral("L'archivio passerebbe da %1 a %2 prodotti. "
                                          "Sostituirlo comunque?")
                               .arg(prima)
                               .arg(r.aggiunti))))
      rifiuta(r,
              QStringLiteral("Importazione annullata: l'archivio è rimasto di %1 prodotti.")
                  .arg(prima),
              percorso);
  });
  return r;
}

}  // namespace listinova
