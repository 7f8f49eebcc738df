#include "support/negozio_di_prova.h"

#include <sqlite3.h>

#include <stdexcept>

#include "catalogue/apri_database.h"
#include "platform/money.h"
#include "platform/profile_file.h"
#include "startup/var_globali.h"
#include "support/file_helpers.h"

namespace listinova::testing {

namespace {

Money Prezzo(const QString& testo) {
  const auto valore = Money::parse(testo);
  if (!valore) throw std::invalid_argument("prezzo di prova non valido: " + testo.toStdString());
  return *valore;
}

}  // namespace

NegozioDiProva::NegozioDiProva() {
  Globali() = VarGlobali{};
  Globali().PercorsoSetup = cartella.setup();
  Globali().CartellaProgramma = cartella.root();
  db = ApriDatabase(percorsoArchivio());
  Globali().Archivio = db;
}

NegozioDiProva::~NegozioDiProva() {
  Globali() = VarGlobali{};
  db.reset();
}

NegozioDiProva& NegozioDiProva::prodotto(const ProdottoDiProva& p) {
  auto rs = db->openRecordset("Select * from Magazzino where 0");
  rs.addNew();
  rs.setText("CodMateriale", p.cod);
  rs.setText("Descrizione", p.descrizione);
  rs.setText("BarCode",
             p.barCode.isEmpty() ? "80000000000" + p.cod.rightJustified(2, u'0') : p.barCode);
  rs.setText("Genere", p.genere);
  rs.setValue(QStringLiteral("Quantità"), p.quantita);
  rs.setMoney("Costo", Prezzo(p.costo));
  rs.setMoney("Costo2", Prezzo(p.costo2));
  // Left null where the test says nothing, as a product typed without them is.
  if (!p.fornitore.isEmpty()) rs.setText("Fornitore", p.fornitore);
  if (!p.codFornitore.isEmpty()) rs.setText("CodProdottoFornitore", p.codFornitore);
  if (!p.unitaMisura.isEmpty()) rs.setText("UnitaMisura", p.unitaMisura);
  rs.setFlag("Modificato", p.modificato);
  rs.setFlag("Eliminato", p.eliminato);
  rs.update();
  return *this;
}

NegozioDiProva& NegozioDiProva::prodotto(const QString& cod, const QString& descrizione,
                                         const QString& costo) {
  return prodotto({.cod = cod, .descrizione = descrizione, .costo = costo});
}

NegozioDiProva& NegozioDiProva::prodotti(int quanti, int primo) {
  platform::db::Database::Transaction t(*db);
  for (int i = primo; i < primo + quanti; ++i)
    prodotto({.cod = QString::number(i),
              .descrizione = QStringLiteral("PRODOTTO %1").arg(i),
              .barCode = QString::number(8000000000000LL + i)});
  t.commit();
  return *this;
}

NegozioDiProva& NegozioDiProva::reparto(int cod, const QString& descrizione, double iva) {
  db->execute(QStringLiteral("DELETE FROM Reparti WHERE Cod=%1").arg(cod));
  auto rs = db->openRecordset("Select * from Reparti where 0");
  rs.addNew();
  rs.setValue("Cod", cod);
  rs.setText("Descrizione", descrizione);
  rs.setValue("Iva", iva);
  rs.update();
  return *this;
}

NegozioDiProva& NegozioDiProva::offerta(const OffertaDiProva& o) {
  auto rs = db->openRecordset("Select * from Offerte where 0");
  rs.addNew();
  rs.setText("Articolo", o.articolo);
  rs.setValue("DataDAL", o.dal);
  rs.setValue("DataAL", o.al);
  rs.setMoney("PrzScnt", Prezzo(o.prezzo));
  rs.setValue("ScontoPer", o.scontoPer);
  rs.setMoney("ScontoVal", Prezzo(o.scontoVal));
  rs.setValue("Pezzi", o.pezzi);
  rs.update();
  return *this;
}

NegozioDiProva& NegozioDiProva::vendita(const QString& ean, double qta, const QDateTime& quando) {
  auto rs = db->openRecordset("Select * from StoricoPLU where 0");
  rs.addNew();
  rs.setText("EAN", ean);
  rs.setValue("Qta", qta);
  rs.setValue("DataModif", quando);
  rs.update();
  return *this;
}

NegozioDiProva& NegozioDiProva::barCodeUlteriore(const QString& codProd, const QString& barCode) {
  auto rs = db->openRecordset("Select * from BarCodeUlteriori where 0");
  rs.addNew();
  rs.setText("CodProd", codProd);
  rs.setText("BarCode", barCode);
  rs.update();
  return *this;
}

NegozioDiProva& NegozioDiProva::setup(const QString& sezione, const QString& chiave,
                                      const QString& valore) {
  if (!platform::writeProfileString(cartella.setup(), sezione, chiave, valore))
    throw std::runtime_error("Setup.ini di prova non scritto");
  return *this;
}

NegozioDiProva& NegozioDiProva::sqlite(const QString& sql) {
  char* errore = nullptr;
  if (sqlite3_exec(db->handle(), sql.toUtf8().constData(), nullptr, nullptr, &errore) !=
      SQLITE_OK) {
    const std::string testo = errore ? errore : "";
    sqlite3_free(errore);
    throw std::runtime_error(testo);
  }
  return *this;
}

int NegozioDiProva::conta(const QString& sql) const { return db->openRecordset(sql).recordCount(); }

QString NegozioDiProva::valore(const QString& sql) const {
  auto rs = db->openRecordset(sql);
  if (rs.eof()) return {};
  return rs.value(0).isNull() ? QStringLiteral("NULL") : rs.value(0).toString();
}

QStringList NegozioDiProva::righe(const QString& sql) const {
  QStringList righe;
  for (auto rs = db->openRecordset(sql); !rs.eof(); rs.moveNext()) {
    QStringList celle;
    for (int i = 0; i < rs.fieldCount(); ++i) {
      const QVariant v = rs.value(i);
      celle << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    }
    righe << celle.join('|');
  }
  return righe;
}

bool NegozioDiProva::modificato(const QString& cod) const {
  return db->openRecordset("Select Modificato from Magazzino where CodMateriale='" + cod + "'")
      .flag("Modificato");
}

double NegozioDiProva::quantita(const QString& cod) const {
  return valore("Select Quantità from Magazzino where CodMateriale='" + cod + "'").toDouble();
}

QString NegozioDiProva::file(const QString& relativo, const QByteArray& contenuto) const {
  const QString percorso = cartella.file(relativo);
  if (!writeAll(percorso, contenuto))
    throw std::runtime_error("file di prova non scritto: " + percorso.toStdString());
  return percorso;
}

std::map<QString, std::vector<double>> NegozioDiProva::storico() const {
  std::map<QString, std::vector<double>> righe;
  for (auto rs = db->openRecordset("Select * from StoricoPLU"); !rs.eof(); rs.moveNext())
    righe[rs.text("EAN")].push_back(rs.number("Qta"));
  return righe;
}

void NegozioDiProva::chiudi() {
  Globali().Archivio.reset();
  db.reset();
}

}  // namespace listinova::testing
