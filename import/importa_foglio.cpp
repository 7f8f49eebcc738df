#include "import/importa_foglio.h"

#include <QRegularExpression>

#include "catalogue/ricerche_archivio.h"
#include "import/archivio_prodotti.h"
#include "import/testo_delimitato.h"
#include "platform/workbook_reader.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

constexpr int kLunghezzaDescrizione = 50;
constexpr int kLunghezzaFornitore = 100;
// A product without a VAT cell gets this rate and department.
constexpr int kIvaPredefinita = 22;
constexpr int kRepartoPredefinito = 40;
// The sheet's name as the spreadsheet driver always listed it.
constexpr char kFoglioProdotti[] = "PRODOTTI$";

struct RigaFoglio {
  QString descrizione, quantita, barcode, prezzoVendita, prezzoAcquisto, iva, codiceFornitore,
      fornitore;
};

QString cella(const platform::WorkbookRow& riga, int colonna) {
  if (colonna <= 0 || colonna > static_cast<int>(riga.size())) return {};
  return riga[colonna - 1].text;
}

bool vuota(const platform::WorkbookRow& riga) {
  for (const auto& c : riga)
    if (!c.text.trimmed().isEmpty()) return false;
  return true;
}

// "G" for column 7, "AA" for 27: how the spreadsheet names a column.
QString letteraColonna(int colonna) {
  QString lettere;
  for (; colonna > 0; colonna = (colonna - 1) / 26)
    lettere.prepend(QChar('A' + (colonna - 1) % 26));
  return lettere;
}

// The first cell the import reads that holds a formula without a stored result, if any.
std::optional<QString> formulaSenzaValore(const platform::WorkbookRow& riga, int numero,
                                          const PosizioniImport& p) {
  for (int colonna : {p.descrizione, p.quantita, p.barcode, p.prezzoVendita, p.prezzoAcquisto,
                      p.iva, p.codiceFornitore, p.fornitore})
    if (colonna > 0 && colonna <= static_cast<int>(riga.size()) &&
        riga[colonna - 1].formulaWithoutValue)
      return QStringLiteral("la cella %1%2 ha una formula senza valore calcolato nel file")
          .arg(letteraColonna(colonna))
          .arg(numero);
  return std::nullopt;
}

// A barcode the spreadsheet already turned into "8,00123E+12" has lost its digits for good.
bool notazioneScientifica(const QString& testo) {
  static const QRegularExpression forma(R"(^\d+([.,]\d*)?[eE][+-]?\d+$)");
  return forma.match(testo.trimmed()).hasMatch();
}

class ImportazioneFoglio {
 public:
  ImportazioneFoglio(platform::db::Database& db, const QString& fornitore)
      : db_(db), archivio_(db), fornitore_(fornitore) {}

  void riga(int numero, const RigaFoglio& r, RiepilogoImport& riepilogo) {
    const QString barcode = r.barcode.trimmed();
    const auto prezzo = importo(r.prezzoVendita);
    const auto acquisto = importo(r.prezzoAcquisto);
    const auto quantita = importo(r.quantita);
    const auto iva = InteroIniziale(r.iva);
    QString rifiuto;
    if (auto lungo = ControllaBarcode(barcode))
      rifiuto = *lungo;
    else if (!prezzo)
      rifiuto = QStringLiteral("prezzo di vendita \"%1\" non valido").arg(r.prezzoVendita);
    else if (!acquisto && fornitore_.isEmpty())
      rifiuto = QStringLiteral("prezzo di acquisto \"%1\" non valido").arg(r.prezzoAcquisto);
    else if (!quantita)
      rifiuto = QStringLiteral("quantità \"%1\" non valida").arg(r.quantita);
    else if (!r.iva.trimmed().isEmpty() && !iva)
      rifiuto = QStringLiteral("IVA \"%1\" non valida").arg(r.iva);
    else if (prezzo->value_or(0) < 0 || acquisto.value_or(std::nullopt).value_or(0) < 0)
      rifiuto = QStringLiteral("prezzo negativo");
    if (!rifiuto.isEmpty()) {
      riepilogo.scarta(numero, rifiuto);
      return;
    }
    riepilogo.controllaCifra(numero, barcode);
    const auto trovato = archivio_.trova("BarCode", barcode);
    ArchivioProdotti::Campi campi{{QStringLiteral("Descrizione"), r.descrizione},
                                  {QStringLiteral("CodProdottoFornitore"), r.codiceFornitore},
                                  {QStringLiteral("BarCode"), barcode},
                                  {QStringLiteral("UnitaMisura"), QStringLiteral("Pz")},
                                  {QStringLiteral("Minimo"), 0},
                                  {QStringLiteral("Modificato"), -1}};
    if (fornitore_.isEmpty()) {
      senzaFornitore(r, *prezzo, *acquisto, *quantita, iva, campi);
      if (iva && !repartoIva(QString::number(*iva)))
        riepilogo.avvisa(numero, QStringLiteral("IVA %1 di nessun reparto: messo nel reparto %2")
                                     .arg(*iva)
                                     .arg(kRepartoPredefinito));
    } else
      conFornitore(r, *prezzo, *quantita, iva, trovato, campi);
    if (trovato) {
      archivio_.aggiorna(*trovato, campi);
      ++riepilogo.aggiornati;
    } else {
      archivio_.aggiungi(campi);
      ++riepilogo.aggiunti;
    }
  }

 private:
  // Empty cells count as nothing; anything else must be a number.
  static std::optional<std::optional<double>> importo(const QString& testo) {
    if (testo.trimmed().isEmpty()) return std::optional<double>();
    auto numero = NumeroFornitore(testo);
    if (!numero) return std::nullopt;
    return numero;
  }

  void senzaFornitore(const RigaFoglio& r, std::optional<double> prezzo,
                      std::optional<double> acquisto, std::optional<double> quantita,
                      std::optional<long long> iva, ArchivioProdotti::Campi& campi) {
    campi.insert(campi.end(), {{QStringLiteral("Quantità"), quantita.value_or(0)},
                               {QStringLiteral("Fornitore"), r.fornitore},
                               {QStringLiteral("Costo"), prezzo.value_or(0)},
                               {QStringLiteral("Costo2"), acquisto.value_or(0)},
                               {QStringLiteral("TipoVariazione"), QStringLiteral("F")}});
    if (iva) {
      campi.push_back({QStringLiteral("CodPV"), QString::number(*iva)});
      campi.push_back(
          {QStringLiteral("Genere"),
           QString::number(repartoIva(QString::number(*iva)).value_or(kRepartoPredefinito))});
    } else {
      campi.push_back({QStringLiteral("CodPV"), QString::number(kIvaPredefinita)});
      campi.push_back({QStringLiteral("Genere"), QString::number(kRepartoPredefinito)});
    }
  }

  void conFornitore(const RigaFoglio& r, std::optional<double> prezzo,
                    std::optional<double> quantita, std::optional<long long> iva,
                    std::optional<qint64> trovato, ArchivioProdotti::Campi& campi) {
    campi.push_back({QStringLiteral("Fornitore"), fornitore_});
    if (trovato) {
      if (quantita)
        campi.push_back({QStringLiteral("Quantità"), archivio_.quantita(*trovato) + *quantita});
    } else {
      ScriviErrore("frmImporta", "EseguiImportXLS", "Non trovo cod fornitore " + r.codiceFornitore,
                   0);
      campi.push_back({QStringLiteral("Genere"), QStringLiteral("***NEW***")});
      campi.push_back({QStringLiteral("Quantità"), quantita.value_or(1)});
      campi.push_back({QStringLiteral("Costo"), 0});
    }
    if (prezzo) campi.push_back({QStringLiteral("Costo2"), *prezzo});
    if (iva) campi.push_back({QStringLiteral("CodPV"), QString::number(*iva)});
  }

  std::optional<int> repartoIva(const QString& aliquota) {
    auto trovato = repartiIva_.constFind(aliquota);
    if (trovato != repartiIva_.constEnd()) return trovato.value();
    return repartiIva_[aliquota] = CodiceRepXIVA(db_, aliquota);
  }

  platform::db::Database& db_;
  ArchivioProdotti archivio_;
  QString fornitore_;
  QHash<QString, std::optional<int>> repartiIva_;
};

}  // namespace

ErroreImport ErroreDaCartella(const platform::WorkbookError& errore) {
  ScriviErrore("frmImporta", "EseguiImportXLS",
               errore.message() + (errore.detail().isEmpty() ? QString() : " - " + errore.detail()),
               0);
  return ErroreImport(errore.message());
}

QString FoglioDaImportare(const QStringList& fogli, bool conFornitore) {
  if (conFornitore) return fogli.isEmpty() ? QString() : fogli.first();
  for (const QString& foglio : fogli)
    if ((foglio + "$").toUpper().remove('\'') == QLatin1String(kFoglioProdotti)) return foglio;
  return {};
}

RiepilogoImport ImportaFoglio(platform::db::Database& db, platform::WorkbookReader& cartella,
                              const PosizioniImport& p, const QString& fornitore,
                              const SchermoImport& schermo) {
  RiepilogoImport riepilogo;
  const QString foglio = FoglioDaImportare(cartella.sheets(), !fornitore.isEmpty());
  if (foglio.isEmpty()) return riepilogo;
  if (schermo.stato) schermo.stato(QStringLiteral("Importazione in corso..."));
  std::vector<platform::WorkbookRow> righe;
  try {
    righe = cartella.rows(foglio);
  } catch (const platform::WorkbookError& errore) {
    throw ErroreDaCartella(errore);
  }
  if (righe.size() < 2) throw ErroreImport(QStringLiteral("Impossibile eseguire l'importazione"));
  const int totale = static_cast<int>(righe.size()) - 1;
  ScriviInTransazione(db, "EseguiImportXLS", [&] {
    ImportazioneFoglio importazione(db, fornitore);
    for (int i = 1; i < static_cast<int>(righe.size()); ++i) {
      const auto& riga = righe[i];
      const int numero = i + 1;
      if (schermo.avanzamento && (i % kPassoAvanzamento == 0 || i == totale))
        schermo.avanzamento(i, totale);
      if (vuota(riga)) continue;
      ++riepilogo.righeLette;
      if (auto formula = formulaSenzaValore(riga, numero, p)) {
        riepilogo.scarta(numero, *formula);
        continue;
      }
      const QString barcode = cella(riga, p.barcode);
      if (barcode.trimmed().isEmpty()) {
        riepilogo.scarta(numero, QStringLiteral("codice a barre mancante"));
        continue;
      }
      if (notazioneScientifica(barcode) && !riga[p.barcode - 1].numeric) {
        riepilogo.scarta(numero,
                         QStringLiteral("codice a barre \"%1\" in notazione scientifica: nel "
                                        "foglio le cifre sono già perse")
                             .arg(barcode));
        continue;
      }
      importazione.riga(
          numero,
          {cella(riga, p.descrizione).left(kLunghezzaDescrizione),
           p.quantita > 0 ? cella(riga, p.quantita) : QStringLiteral("0"), barcode,
           cella(riga, p.prezzoVendita), cella(riga, p.prezzoAcquisto), cella(riga, p.iva),
           cella(riga, p.codiceFornitore), cella(riga, p.fornitore).left(kLunghezzaFornitore)},
          riepilogo);
    }
  });
  return riepilogo;
}

}  // namespace listinova
