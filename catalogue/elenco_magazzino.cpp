#include "catalogue/elenco_magazzino.h"

#include <QHash>
#include <QRegularExpression>

#include "catalogue/ricerche_archivio.h"
#include "platform/db/database.h"
#include "platform/db/first_rows.h"
#include "startup/impostazioni.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::Recordset;

// A product is listed unless marked deleted (any value but 0 or Null).
constexpr char kNonEliminato[] = "coalesce(Eliminato, 0) = 0";

QString raddoppiaApici(QString testo) { return testo.replace('\'', "''"); }

// Quantities are whole most of the time; fractions (weights) get a comma.
QString testoQuantita(double quantita) {
  if (quantita == static_cast<double>(static_cast<qint64>(quantita)))
    return QString::number(static_cast<qint64>(quantita));
  QString testo = QString::number(quantita, 'f', 3);
  while (testo.endsWith('0')) testo.chop(1);
  return testo.replace('.', ',');
}

QString testoPercentuale(double percentuale) {
  return QString::number(percentuale, 'f', 2).replace('.', ',');
}

double aliquota(const QString& codPV) {
  bool ok = false;
  const double valore = QString(codPV).replace(',', '.').trimmed().toDouble(&ok);
  return ok ? valore : 0.0;
}

// Department names by code, looked up once per load.
class NomiReparti {
 public:
  explicit NomiReparti(Database& db) : db_(db) {}
  QString nomeGenere(const QString& genere) {
    bool numero = false;
    genere.trimmed().toLongLong(&numero);
    if (!numero) return genere;
    auto trovato = nomi_.constFind(genere);
    if (trovato != nomi_.constEnd()) return *trovato;
    return *nomi_.insert(genere, TrovaNomeRep(db_, genere.trimmed()));
  }

 private:
  Database& db_;
  QHash<QString, QString> nomi_;
};

RigaMagazzino rigaDi(const Recordset& rs, NomiReparti& reparti) {
  RigaMagazzino riga;
  auto& c = riga.celle;
  const double quantita = rs.number(QStringLiteral("Quantità"));
  const Money prezzo = rs.money("Costo");
  const Money acquisto = rs.money("Costo2");
  c[0] = rs.text("CodMateriale");
  c[1] = rs.text("Descrizione");
  c[2] = reparti.nomeGenere(rs.text("Genere"));
  c[3] = testoQuantita(quantita);
  c[4] = testoQuantita(rs.number("Minimo"));
  c[5] = rs.text("UnitaMisura");
  c[6] = prezzo.toItalian(2);
  c[7] = rs.isNull("Fornitore") ? QStringLiteral("***") : rs.text("Fornitore");
  c[8] = rs.text("Taglia");
  c[9] = rs.text("Colore");
  c[10] = rs.text("TipoMateriale");
  c[11] = rs.text("BarCode");
  c[13] = acquisto.toItalian(2);
  c[14] = rs.text("CodProdottoFornitore");
  c[15] = rs.text("CodPV");
  const Money acquistoIvato = acquisto + acquisto.times(aliquota(c[15])).dividedBy(100);
  c[16] = acquistoIvato.toItalian(2);
  const double ricarico =
      acquistoIvato == Money()
          ? 0.0
          : static_cast<double>((prezzo - acquistoIvato).units()) * 100.0 / acquistoIvato.units();
  c[17] = testoPercentuale(ricarico);

  if (quantita <= 0) riga.colore = kColoreEsaurito;
  if (rs.flag("Modificato")) riga.colore = kColoreModificato;
  if (ricarico < kRicaricoMinimo) riga.colore = kColoreRicaricoBasso;
  return riga;
}

}  // namespace

QString IstruzioneRicerca(const CriteriRicerca& criteri) {
  if (criteri.opzione == 3) return QStringLiteral("Select * From Magazzino where Costo=") + "0";
  if (criteri.opzione == 4) return QStringLiteral("Select * From Magazzino where Quantità<=") + "0";

  QString sql = QStringLiteral("Select * From Magazzino where ");
  bool condizioni = false;
  static const char* const campi[] = {"Descrizione like '", "BarCode ='",
                                      "CodProdottoFornitore ='"};
  if (!criteri.testo.isEmpty() && criteri.opzione >= 0 && criteri.opzione <= 2) {
    const QString completo = criteri.opzione == 1 ? CodiceCompletato13(criteri.testo) : QString();
    if (completo.isEmpty())
      sql += campi[criteri.opzione] + raddoppiaApici(criteri.testo) +
             (criteri.opzione == 0 ? "*'" : "'");
    else
      sql += "(BarCode ='" + raddoppiaApici(criteri.testo) + "' or BarCode ='" + completo + "')";
    condizioni = true;
  }
  if (!criteri.reparto.isEmpty()) {
    sql += (condizioni ? " and" : "") + QStringLiteral(" Genere='") +
           raddoppiaApici(criteri.reparto) + "'";
    condizioni = true;
  }
  if (!criteri.fornitore.isEmpty()) {
    sql += (condizioni ? " and" : "") + QStringLiteral(" Fornitore='") +
           raddoppiaApici(criteri.fornitore) + "'";
    condizioni = true;
  }
  if (!condizioni) return QStringLiteral("Select * from Magazzino order by descrizione");
  return sql + " order by descrizione";
}

QString RepartoPerRicerca(Database& db, const QString& setup, const QString& nomeReparto) {
  const bool comeCodice = LeggiOpzioneConfig(setup, "SalvaRepartoComeCODICE");
  if (nomeReparto.isEmpty() || !comeCodice) return nomeReparto;
  return TrovaCodiceRep(db, nomeReparto);
}

QStringList IntestazioniMagazzino() {
  return {QStringLiteral("Codice"),
          QStringLiteral("Descrizione"),
          QStringLiteral("Reparto"),
          QStringLiteral("Qtà"),
          QStringLiteral("Min."),
          QStringLiteral("U.M."),
          QStringLiteral("Prezzo"),
          QStringLiteral("Fornitore"),
          QStringLiteral("Taglia"),
          QStringLiteral("Colore"),
          QStringLiteral("Peso/Conf."),
          QStringLiteral("Codice a barre"),
          QString(),
          QStringLiteral("Costo acq."),
          QStringLiteral("Cod. fornitore"),
          QStringLiteral("IVA %"),
          QStringLiteral("Acq. + IVA"),
          QStringLiteral("Ricarico %")};
}

ElencoMagazzino LeggiElencoMagazzino(Database& db, const QString& sql, bool togliMarcheEtichetta) {
  ElencoMagazzino elenco;
  // The store counts the matches; only the rows the grid holds are read.
  elenco.vociTrovate = platform::db::countRows(db, sql);
  Recordset rs = platform::db::openFirstRows(db, sql, kNonEliminato, kMassimoRigheMagazzino);
  elenco.righe.reserve(rs.recordCount());
  NomiReparti reparti(db);
  QStringList elencati;
  for (; !rs.eof(); rs.moveNext()) {
    elenco.righe.push_back(rigaDi(rs, reparti));
    elenco.valore = elenco.valore + rs.money("Costo").times(rs.number(QStringLiteral("Quantità")));
    if (togliMarcheEtichetta) elencati.append(platform::db::sqlText(rs.text("CodMateriale")));
  }
  if (!elencati.isEmpty()) {
    Database::Transaction transazione(db);
    db.execute("UPDATE Magazzino SET TipoVariazione='N' WHERE CodMateriale IN (" +
               elencati.join(u',') + ")");
    transazione.commit();
  }
  return elenco;
}

QString TestoValoreMagazzino(Money valore) { return valore.toItalian(2); }

QString CodiceCompletato13(const QString& codice) {
  static const QRegularExpression soloCifre(QStringLiteral("^[0-9]{1,12}$"));
  if (!soloCifre.match(codice).hasMatch()) return {};
  return codice.rightJustified(kCifreEan13, u'0');
}

}  // namespace listinova
