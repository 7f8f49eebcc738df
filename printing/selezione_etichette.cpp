// Which products get a label.
#include "printing/selezione_etichette.h"

#include <QHash>

#include "platform/db/database.h"
#include "promotions/prezzo_precedente.h"
#include "startup/modulo_file_ini.h"

namespace listinova {
namespace {

const QString kCampi = QStringLiteral(
    "Select Descrizione, Costo, TipoMateriale, CodProdottoFornitore, BarCode, CodMateriale "
    "from Magazzino ");
const QString kTutti = kCampi + "order by Descrizione";
const QString kModificati = kCampi + "where modificato =" + "-1" + " order by Descrizione";
const QString kFrontalini = kCampi + "where TipoVariazione ='F' order by Descrizione";
const QString kFrontaliniOModificati =
    kCampi + "where TipoVariazione ='F' or Modificato =" + "-1" + " order by Descrizione";

struct OffertaInCorso {
  Money prezzo;
  QDate inizio;
};

// The offers in force on `oggi`, by product code; the first one of a product counts, as on
// the register.
QHash<QString, OffertaInCorso> OfferteInCorso(platform::db::Database& db, const QDate& oggi) {
  QHash<QString, OffertaInCorso> offerte;
  for (auto rs = db.openRecordset("Select Articolo, DataDAL, DataAL, PrzScnt from Offerte");
       !rs.eof(); rs.moveNext()) {
    const QDate dal = rs.dateTime("DataDAL").date();
    const QDate al = rs.dateTime("DataAL").date();
    const QString articolo = rs.text("Articolo").trimmed();
    if (dal.isValid() && al.isValid() && dal <= oggi && al >= oggi && !offerte.contains(articolo))
      offerte.insert(articolo, {rs.money("PrzScnt"), dal});
  }
  return offerte;
}

std::vector<ProdottoEtichetta> LeggiProdotti(platform::db::Database& db, const QString& sql,
                                             const QDate& oggi) {
  std::vector<ProdottoEtichetta> prodotti;
  for (auto rs = db.openRecordset(sql); !rs.eof(); rs.moveNext())
    prodotti.push_back({rs.value("Descrizione"), rs.value("Costo"), rs.value("TipoMateriale"),
                        rs.value("CodProdottoFornitore"), rs.value("BarCode"),
                        rs.text("CodMateriale").trimmed()});
  const auto offerte = OfferteInCorso(db, oggi);
  for (ProdottoEtichetta& p : prodotti) {
    const auto offerta = offerte.constFind(p.codMateriale);
    if (offerta == offerte.constEnd()) continue;
    p.prezzoOfferta = offerta->prezzo;
    p.prezzoPrecedente = PrezzoPiuBasso30gg(db, p.codMateriale, offerta->inizio);
  }
  return prodotti;
}

}  // namespace

SelezioneEtichette SelezionaProdotti(platform::db::Database& db, const QString& selezioneStandard,
                                     const QString& contesto, const FiltriEtichette& filtri,
                                     const QDate& oggi) {
  const auto Leggi = [&db, &oggi](const QString& sql) { return LeggiProdotti(db, sql, oggi); };
  if (selezioneStandard.toUpper() == "VERO") {
    if (contesto == kContestoToolbar)
      return {Leggi(filtri.modificati ? kModificati : kTutti), contesto};
    return {Leggi(kModificati), contesto};
  }
  if (filtri.perFrontalini) return {Leggi(kFrontalini), contesto};
  auto prodotti = Leggi(kFrontaliniOModificati);
  if (prodotti.empty()) return {Leggi(kTutti), contesto};
  return {std::move(prodotti), kContestoToolbar};
}

QString LeggiSelezioneStandard(const QString& percorsoSetup) {
  const QString valore = LeggiINI(percorsoSetup, "Etichetta", "SelezioneStandard", "?");
  if (valore != "?" && !valore.isEmpty()) return valore;
  ScriviINI(percorsoSetup, "Etichetta", "SelezioneStandard", "Vero");
  return QStringLiteral("Vero");
}

}  // namespace listinova
