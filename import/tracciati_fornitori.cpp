#include "import/tracciati_fornitori.h"

#include "import/archivio_prodotti.h"
#include "import/testo_fornitore.h"

namespace listinova {
namespace {

struct Colonne {
  int posizione;
  int lunghezza;
};

// "QRZ SERVICE": only the "R" records; the price is split in whole part and decimals.
constexpr Colonne kQrzCodice{11, 5};
constexpr Colonne kQrzQuantita{16, 5};
constexpr Colonne kQrzInteri{21, 8};
constexpr Colonne kQrzDecimali{29, 5};
constexpr Colonne kQrzDescrizione{34, 30};
constexpr Colonne kQrzIva{76, 6};
constexpr Colonne kQrzBarcode{82, 13};

// "FELDRO": every line; the price is in thousandths.
constexpr Colonne kFeldroCodice{21, 21};
constexpr Colonne kFeldroBarcode{42, 21};
constexpr Colonne kFeldroDescrizione{63, 34};
constexpr Colonne kFeldroQuantita{100, 14};
constexpr Colonne kFeldroPrezzo{114, 14};
constexpr Colonne kFeldroIva{184, 4};
constexpr double kFeldroDivisore = 1000;

QString campo(const QString& riga, Colonne c) { return Campo(riga, c.posizione, c.lunghezza); }

// Reads the numeric fields; the reason of the refusal when one is not a number.
std::optional<QString> numeri(const QString& quantita, const QString& prezzo, const QString& iva,
                              ArticoloFornitore& a, double divisore) {
  const auto q =
      quantita.trimmed().isEmpty() ? std::optional<double>(0) : NumeroFornitore(quantita);
  if (!q) return QStringLiteral("quantità \"%1\" non numerica").arg(quantita.trimmed());
  const auto p =
      prezzo.trimmed().remove(',').isEmpty() ? std::optional<double>(0) : NumeroFornitore(prezzo);
  if (!p) return QStringLiteral("prezzo \"%1\" non numerico").arg(prezzo.trimmed());
  const auto v = iva.trimmed().isEmpty() ? std::optional<double>() : NumeroFornitore(iva);
  if (!iva.trimmed().isEmpty() && !v) return QStringLiteral("IVA \"%1\" non numerica").arg(iva);
  a.quantita = *q;
  a.prezzo = *p / divisore;
  a.iva = v ? QString::number(*v) : QString();
  return std::nullopt;
}

std::optional<QString> leggiQrz(const QString& riga, ArticoloFornitore& a) {
  a.codiceFornitore = campo(riga, kQrzCodice).trimmed();
  a.descrizione = campo(riga, kQrzDescrizione).trimmed();
  a.barcode = campo(riga, kQrzBarcode).trimmed();
  return numeri(campo(riga, kQrzQuantita),
                campo(riga, kQrzInteri) + "," + campo(riga, kQrzDecimali), campo(riga, kQrzIva), a,
                1);
}

std::optional<QString> leggiFeldro(const QString& riga, ArticoloFornitore& a) {
  a.codiceFornitore = campo(riga, kFeldroCodice).trimmed();
  a.barcode = campo(riga, kFeldroBarcode).trimmed();
  a.descrizione = campo(riga, kFeldroDescrizione).trimmed();
  return numeri(campo(riga, kFeldroQuantita), campo(riga, kFeldroPrezzo), campo(riga, kFeldroIva),
                a, kFeldroDivisore);
}

}  // namespace

std::optional<Tracciato> TracciatoDi(const QString& fornitore) {
  const QString nome = fornitore.trimmed().toUpper();
  if (nome == QLatin1String("QRZ SERVICE")) return Tracciato::QrzService;
  if (nome == QLatin1String("FELDRO")) return Tracciato::Feldro;
  return std::nullopt;
}

std::vector<ArticoloFornitore> LeggiTracciato(Tracciato tracciato, LettoreRighe& lettore,
                                              RiepilogoImport& riepilogo) {
  std::vector<ArticoloFornitore> articoli;
  QString riga;
  while (lettore.prossima(riga)) {
    if (riga.trimmed().isEmpty()) continue;
    if (tracciato == Tracciato::QrzService && !riga.startsWith('R', Qt::CaseInsensitive)) continue;
    ++riepilogo.righeLette;
    ArticoloFornitore a;
    a.riga = lettore.numero();
    auto rifiuto = tracciato == Tracciato::QrzService ? leggiQrz(riga, a) : leggiFeldro(riga, a);
    if (!rifiuto && a.barcode.isEmpty() && a.codiceFornitore.isEmpty())
      rifiuto = QStringLiteral("né codice a barre né codice del fornitore");
    if (!rifiuto) rifiuto = ControllaBarcode(a.barcode);
    if (!rifiuto && a.prezzo < 0) rifiuto = QStringLiteral("prezzo negativo");
    if (rifiuto)
      riepilogo.scarta(a.riga, *rifiuto);
    else
      articoli.push_back(std::move(a));
  }
  return articoli;
}

RiepilogoImport EseguiImport(platform::db::Database& db, const QString& percorso,
                             const QString& fornitore, const SchermoImport& schermo) {
  const auto tracciato = TracciatoDi(fornitore);
  if (!tracciato) throw ErroreImport(QString::fromUtf8(kTracciatoAssente));
  if (schermo.stato) schermo.stato(QStringLiteral("Importazione dati PLU in corso..."));
  RiepilogoImport riepilogo;
  LettoreRighe lettore(percorso);
  const auto articoli = LeggiTracciato(*tracciato, lettore, riepilogo);
  const int totale = static_cast<int>(articoli.size());
  ScriviInTransazione(db, "EseguiImport", [&] {
    ArchivioProdotti archivio(db);
    int fatti = 0;
    for (const ArticoloFornitore& a : articoli) {
      std::optional<qint64> trovato;
      if (!a.barcode.isEmpty()) trovato = archivio.trova("BarCode", a.barcode);
      if (!trovato && !a.codiceFornitore.isEmpty())
        trovato = archivio.trova("CodProdottoFornitore", a.codiceFornitore);
      ArchivioProdotti::Campi campi{{"Descrizione", a.descrizione},
                                    {"CodProdottoFornitore", a.codiceFornitore},
                                    {"Costo2", a.prezzo},
                                    {"BarCode", a.barcode},
                                    {"UnitaMisura", QStringLiteral("Pz")},
                                    {"Fornitore", fornitore.trimmed()},
                                    {"Minimo", 0},
                                    {"Modificato", -1}};
      if (!a.iva.isEmpty()) campi.push_back({"CodPV", a.iva});
      if (trovato) {
        campi.push_back({"Quantità", archivio.quantita(*trovato) + a.quantita});
        archivio.aggiorna(*trovato, campi);
        ++riepilogo.aggiornati;
      } else {
        campi.push_back({"Genere", QStringLiteral("***NEW***")});
        campi.push_back({"Quantità", a.quantita});
        campi.push_back({"Costo", 0});
        archivio.aggiungi(campi);
        ++riepilogo.aggiunti;
      }
      if (schermo.avanzamento && (++fatti % kPassoAvanzamento == 0 || fatti == totale))
        schermo.avanzamento(fatti, totale);
    }
  });
  return riepilogo;
}

}  // namespace listinova
