// Which products get a label.
#include "printing/selezione_etichette.h"

#include "platform/db/database.h"
#include "startup/modulo_file_ini.h"

namespace listinova {
namespace {

const QString kCampi = QStringLiteral(
    "Select Descrizione, Costo, TipoMateriale, CodProdottoFornitore, BarCode from Magazzino ");
const QString kTutti = kCampi + "order by Descrizione";
const QString kModificati = kCampi + "where modificato =" + "-1" + " order by Descrizione";
const QString kFrontalini = kCampi + "where TipoVariazione ='F' order by Descrizione";
const QString kFrontaliniOModificati =
    kCampi + "where TipoVariazione ='F' or Modificato =" + "-1" + " order by Descrizione";

std::vector<ProdottoEtichetta> Leggi(platform::db::Database& db, const QString& sql) {
  std::vector<ProdottoEtichetta> prodotti;
  for (auto rs = db.openRecordset(sql); !rs.eof(); rs.moveNext())
    prodotti.push_back({rs.value("Descrizione"), rs.value("Costo"), rs.value("TipoMateriale"),
                        rs.value("CodProdottoFornitore"), rs.value("BarCode")});
  return prodotti;
}

}  // namespace

SelezioneEtichette SelezionaProdotti(platform::db::Database& db, const QString& selezioneStandard,
                                     const QString& contesto, const FiltriEtichette& filtri) {
  if (selezioneStandard.toUpper() == "VERO") {
    if (contesto == kContestoToolbar)
      return {Leggi(db, filtri.modificati ? kModificati : kTutti), contesto};
    return {Leggi(db, kModificati), contesto};
  }
  if (filtri.perFrontalini) return {Leggi(db, kFrontalini), contesto};
  auto prodotti = Leggi(db, kFrontaliniOModificati);
  if (prodotti.empty()) return {Leggi(db, kTutti), contesto};
  return {std::move(prodotti), kContestoToolbar};
}

QString LeggiSelezioneStandard(const QString& percorsoSetup) {
  const QString valore = LeggiINI(percorsoSetup, "Etichetta", "SelezioneStandard", "?");
  if (valore != "?" && !valore.isEmpty()) return valore;
  ScriviINI(percorsoSetup, "Etichetta", "SelezioneStandard", "Vero");
  return QStringLiteral("Vero");
}

}  // namespace listinova
