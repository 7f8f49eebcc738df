#include "import/catalogo_cedi.h"

#include "import/archivio_prodotti.h"
#include "import/testo_delimitato.h"
#include "import/testo_fornitore.h"
#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"
#include "platform/db/stored_value.h"
#include "startup/error_log.h"

namespace listinova {
namespace {

using platform::db::SqliteStatement;

struct Colonne {
  int posizione;
  int lunghezza;
};

// Article record fields that reach the product.
constexpr Colonne kTipo{1, 1};
constexpr Colonne kDescrizione{26, 40};
constexpr Colonne kCodArtCedi{103, 9};
constexpr Colonne kMarchioProprio{127, 1};
constexpr Colonne kUnitaMisura{161, 2};
constexpr Colonne kQuantita{167, 4};
constexpr Colonne kCosto{219, 13};
constexpr Colonne kPrezzoPromo{245, 13};
constexpr Colonne kInizioPromo{274, 8};
constexpr Colonne kFinePromo{282, 8};
constexpr Colonne kReparto{303, 3};
// The cost arrives in thousandths.
constexpr double kDivisoreCosto = 1000;

// The barcode record, column by column of B_CEDI.
struct ColonnaB {
  const char* nome;
  Colonne colonne;
};
constexpr ColonnaB kColonneB[] = {{"TipoVariazione", {1, 1}},
                                  {"DataVariazione", {2, 8}},
                                  {"CodFornitore", {10, 7}},
                                  {"CodArticoloFornitore", {17, 9}},
                                  {"CodEan", {26, 20}},
                                  {"EANMoltiplicatore", {46, 5}},
                                  {"TipoArticolo", {51, 1}},
                                  {"EANPrimario", {52, 1}},
                                  {"ArtCEDI", {53, 9}},
                                  {"CodArtCEDI", {62, 9}},
                                  {"DifferenziatoreArtCEDI", {71, 2}},
                                  {"RepartoCassa", {73, 3}},
                                  {"Filler4", {76, 20}},
                                  {"CodForPrevalente", {96, 8}},
                                  {"DiffFornitPrevalente", {104, 2}},
                                  {"LineaFornitore", {107, 3}},
                                  {"Filler5", {110, 20}}};

// A barcode record must reach the end of its article code (ArtCEDI), the key it is stored by.
constexpr int kLunghezzaMinimaB = 61;

// What a date field holds when it is not a date: the store's day zero, as "0" always read.
const QDate kGiornoZero(1899, 12, 30);

QString campo(const QString& riga, Colonne c) {
  return Campo(riga, c.posizione, c.lunghezza).trimmed();
}

double numero(const QString& testo) { return NumeroFornitore(testo).value_or(0); }

QDate data(const QString& testo) {
  QDate giorno = QDate::fromString(testo, "yyyyMMdd");
  return giorno.isValid() ? giorno : platform::db::parseShopDate(testo);
}

ArchivioProdotti::Campi campiProdotto(const ArticoloCedi& a, ArchivioProdotti& archivio) {
  const auto giorno = [](const QDate& d) {
    return platform::db::storedDate(d.isValid() ? d : kGiornoZero);
  };
  return {{"TipoVariazione", a.tipo},
          {"Descrizione", a.descrizione},
          {"CodArtCEDI", a.codArtCedi},
          {"Fornitore", a.marchioProprio == u"S" ? QStringLiteral("SIGMA") : QStringLiteral("***")},
          {"UnitaMisura", a.unitaMisura},
          {"Quantità", a.quantita},
          {"Costo", a.costo},
          {"PrezzoPromo", a.prezzoPromo},
          {"DataInizioPromo", giorno(a.inizioPromo)},
          {"DataFinePromo", giorno(a.finePromo)},
          {"Genere", a.reparto.isEmpty() ? QStringLiteral("1") : archivio.nomeReparto(a.reparto)},
          {"Modificato", -1},
          {"Minimo", 0}};
}

void avanza(const SchermoImport& schermo, int fatti, int totale) {
  if (schermo.avanzamento && (fatti % kPassoAvanzamento == 0 || fatti == totale))
    schermo.avanzamento(fatti, totale);
}

}  // namespace

QString BarcodeCedi::valore(const QString& colonna) const {
  for (const auto& [nome, testo] : colonne)
    if (nome.compare(colonna, Qt::CaseInsensitive) == 0) return testo;
  return {};
}

ArticoloCedi LeggiArticoloCedi(const QString& riga) {
  ArticoloCedi a;
  a.tipo = campo(riga, kTipo);
  a.descrizione = campo(riga, kDescrizione);
  a.codArtCedi = campo(riga, kCodArtCedi);
  a.marchioProprio = campo(riga, kMarchioProprio);
  a.unitaMisura = campo(riga, kUnitaMisura);
  a.quantita = InteroIniziale(campo(riga, kQuantita)).value_or(0);
  a.costo = numero(campo(riga, kCosto)) / kDivisoreCosto;
  a.prezzoPromo = numero(campo(riga, kPrezzoPromo));
  a.inizioPromo = data(campo(riga, kInizioPromo));
  a.finePromo = data(campo(riga, kFinePromo));
  if (auto reparto = InteroIniziale(campo(riga, kReparto))) a.reparto = QString::number(*reparto);
  return a;
}

BarcodeCedi LeggiBarcodeCedi(const QString& riga) {
  BarcodeCedi b;
  for (const ColonnaB& c : kColonneB)
    b.colonne.emplace_back(QString::fromUtf8(c.nome), campo(riga, c.colonne));
  return b;
}

RiepilogoImport CatalogoCedi::DatiPLUSigma(const QString& percorso, const SchermoImport& schermo) {
  if (schermo.stato) schermo.stato(QStringLiteral("Importazione dati PLU in corso..."));
  RiepilogoImport riepilogo;
  std::vector<ArticoloCedi> articoli;
  LettoreRighe lettore(percorso);
  QString riga;
  while (lettore.prossima(riga)) {
    if (riga.trimmed().isEmpty()) continue;
    ++riepilogo.righeLette;
    ArticoloCedi a = LeggiArticoloCedi(riga);
    a.riga = lettore.numero();
    if (a.tipo.compare("M", Qt::CaseInsensitive) != 0 &&
        a.tipo.compare("N", Qt::CaseInsensitive) != 0) {
      const QString motivo = QStringLiteral("tipo di record \"%1\" sconosciuto").arg(a.tipo);
      ScriviErrore("frmImporta", "DatiPLUSigma", motivo + " alla riga " + QString::number(a.riga),
                   0);
      riepilogo.scarta(a.riga, motivo);
      continue;
    }
    a.tipo = a.tipo.toUpper();
    articoli.push_back(std::move(a));
  }
  const int totale = static_cast<int>(articoli.size());
  ScriviInTransazione(db_, "DatiPLUSigma", [&] {
    ArchivioProdotti archivio(db_);
    int fatti = 0;
    for (const ArticoloCedi& a : articoli) {
      std::optional<qint64> trovato;
      if (a.tipo == u"M" && !a.codArtCedi.isEmpty())
        trovato = archivio.trova("CodArtCEDI", a.codArtCedi);
      if (trovato) {
        archivio.aggiorna(*trovato, campiProdotto(a, archivio));
        ++riepilogo.aggiornati;
      } else {
        archivio.aggiungi(campiProdotto(a, archivio));
        ++riepilogo.aggiunti;
      }
      avanza(schermo, ++fatti, totale);
    }
  });
  articoli_.clear();
  for (ArticoloCedi& a : articoli) articoli_[a.codArtCedi] = std::move(a);
  return riepilogo;
}

RiepilogoImport CatalogoCedi::DatiPLUVar(const QString& percorso, const SchermoImport& schermo) {
  if (schermo.stato) schermo.stato(QStringLiteral("Importazione dati PLU in corso..."));
  RiepilogoImport riepilogo;
  std::vector<BarcodeCedi> codici;
  LettoreRighe lettore(percorso);
  QString riga;
  while (lettore.prossima(riga)) {
    if (riga.trimmed().isEmpty()) continue;
    ++riepilogo.righeLette;
    const int numero = lettore.numero();
    if (riga.size() < kLunghezzaMinimaB) {
      riepilogo.scarta(numero, QStringLiteral("record B di %1 caratteri: ne servono almeno %2, "
                                              "fino al codice dell'articolo")
                                   .arg(riga.size())
                                   .arg(kLunghezzaMinimaB));
      continue;
    }
    codici.push_back(LeggiBarcodeCedi(riga));
    codici.back().riga = numero;
  }
  const int totale = static_cast<int>(codici.size());
  ScriviInTransazione(db_, "DatiPLUVar", [&] {
    ArchivioProdotti archivio(db_);
    QStringList colonne, segnaposto, assegnazioni;
    for (const ColonnaB& c : kColonneB) {
      colonne << c.nome;
      segnaposto << "?";
      assegnazioni << QString::fromUtf8(c.nome) + "=?";
    }
    SqliteStatement cerca(db_.handle(),
                          "SELECT _rowid_ FROM B_CEDI WHERE ArtCEDI=? AND CodEAN=? LIMIT 1");
    SqliteStatement inserisci(db_.handle(), QStringLiteral("INSERT INTO B_CEDI (%1) VALUES (%2)")
                                                .arg(colonne.join(','), segnaposto.join(',')));
    SqliteStatement aggiorna(
        db_.handle(),
        QStringLiteral("UPDATE B_CEDI SET %1 WHERE _rowid_=?").arg(assegnazioni.join(',')));
    int fatti = 0;
    for (const BarcodeCedi& b : codici) {
      const QString articolo = b.valore("ArtCEDI");
      const QString ean = b.valore("CodEan");
      cerca.reset();
      cerca.bind(1, articolo);
      cerca.bind(2, ean);
      const bool esiste = cerca.step();
      SqliteStatement& scrivi = esiste ? aggiorna : inserisci;
      scrivi.reset();
      int posizione = 1;
      for (const auto& colonna : b.colonne) scrivi.bind(posizione++, colonna.second);
      if (esiste) scrivi.bind(posizione, cerca.column(0));
      scrivi.step();
      ++riepilogo.codiciCatalogo;
      if (!articolo.isEmpty())
        if (auto prodotto = archivio.trova("CodArtCEDI", articolo)) {
          archivio.aggiorna(*prodotto, {{"BarCode", ean}, {"Modificato", -1}});
          ++riepilogo.aggiornati;
        }
      avanza(schermo, ++fatti, totale);
    }
    // Every further barcode of an article becomes a product of its own.
    auto coppie = db_.openRecordset(
        QStringLiteral("SELECT DISTINCTROW ArtCEDI, CodEAN ") + "From B_CEDI " +
        "WHERE (((B_CEDI.ArtCEDI) In (SELECT [ArtCEDI] FROM [B_CEDI] As Tmp GROUP BY [ArtCEDI] "
        "HAVING Count(*)>1 ))) " +
        "ORDER BY B_CEDI.ArtCEDI");
    for (; !coppie.eof(); coppie.moveNext()) {
      const QString articolo = coppie.text("ArtCEDI");
      const QString ean = coppie.text("CodEAN");
      const auto tenuto = articoli_.find(articolo);
      if (tenuto == articoli_.end()) continue;
      if (archivio.trova({{"CodArtCEDI", articolo}, {"BarCode", ean}})) continue;
      ArchivioProdotti::Campi campi = campiProdotto(tenuto->second, archivio);
      campi.push_back({"BarCode", ean});
      archivio.aggiungi(campi);
      ++riepilogo.aggiunti;
    }
  });
  return riepilogo;
}

}  // namespace listinova
