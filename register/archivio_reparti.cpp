#include "register/archivio_reparti.h"

#include "platform/db/database.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;
using platform::db::sqlText;

QString repartoNumero(int cod) {
  return QStringLiteral("select * from reparti where cod=") + QString::number(cod);
}

DatiReparto datiDi(const Recordset& rs) {
  DatiReparto dati;
  dati.cod = static_cast<int>(rs.integer("Cod"));
  dati.descrizione = rs.text("Descrizione");
  dati.iva = rs.number("Iva");
  dati.prezzoPrefissato = rs.money("PrezzoPrefissato");
  dati.sconto = rs.number("Sconto");
  dati.noFiscale = rs.flag("NoFiscale");
  dati.percorsoIcon = rs.text("PercorsoIcon");
  dati.icon = rs.text("Icon");
  return dati;
}

}  // namespace

std::vector<DatiReparto> ArchivioReparti::elenco() {
  std::vector<DatiReparto> reparti;
  for (Recordset rs = db_.openRecordset(QStringLiteral("Select * from reparti")); !rs.eof();
       rs.moveNext())
    reparti.push_back(datiDi(rs));
  return reparti;
}

std::optional<DatiReparto> ArchivioReparti::reparto(int cod) {
  Recordset rs = db_.openRecordset(repartoNumero(cod));
  if (rs.eof()) return std::nullopt;
  return datiDi(rs);
}

std::vector<ProdottoReparto> ArchivioReparti::prodotti(int cod) {
  std::vector<ProdottoReparto> prodotti;
  for (Recordset rs = db_.openRecordset(QStringLiteral("Select * from prodotti where codreparto=") +
                                        QString::number(cod) + QStringLiteral(" and Eliminato=") +
                                        QString::number(0));
       !rs.eof(); rs.moveNext())
    prodotti.push_back(
        {rs.text("Descrizione"), rs.money("Costo"), rs.money("Prezzo1"), rs.money("Prezzo2")});
  return prodotti;
}

bool ArchivioReparti::salva(const DatiReparto& reparto) {
  Database::Transaction transazione(db_);
  Recordset rs = db_.openRecordset(repartoNumero(reparto.cod));
  if (rs.eof()) return false;
  const QString vecchioNome = rs.text("Descrizione");
  rs.edit();
  rs.setText("Descrizione", reparto.descrizione);
  rs.setValue("Iva", reparto.iva);
  rs.setMoney("PrezzoPrefissato", reparto.prezzoPrefissato);
  rs.setValue("Sconto", reparto.sconto);
  rs.setFlag("NoFiscale", reparto.noFiscale);
  if (reparto.icon.isEmpty()) {
    rs.setNull("PercorsoIcon");
    rs.setNull("Icon");
  } else {
    rs.setText("PercorsoIcon", reparto.percorsoIcon);
    rs.setText("Icon", reparto.icon);
  }
  rs.update();
  if (!vecchioNome.isEmpty() && vecchioNome != reparto.descrizione) {
    const bool nomeAncoraInUso =
        !db_.openRecordset(QStringLiteral("Select Cod from Reparti where Descrizione=") +
                           sqlText(vecchioNome) + QStringLiteral(" and Cod<>") +
                           QString::number(reparto.cod))
             .eof();
    if (!nomeAncoraInUso)
      db_.execute(QStringLiteral("UPDATE Magazzino SET Genere=") + sqlText(reparto.descrizione) +
                  QStringLiteral(" WHERE Genere=") + sqlText(vecchioNome));
  }
  transazione.commit();
  return true;
}

bool ArchivioReparti::azzera(int cod) {
  DatiReparto iniziale;
  iniziale.cod = cod;
  iniziale.descrizione = QStringLiteral("Reparto") + QString::number(cod);
  return salva(iniziale);
}

}  // namespace listinova
