#include "register/record_plu.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"
#include "platform/money.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "platform/whole_file.h"
#include "register/descrizione_per_cassa.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::db::Database;
using platform::db::DatabaseError;
using platform::db::Recordset;

constexpr char kModulo[] = "FUNZIONIOstrel";
// Visual Basic's "Type mismatch", for a product code that is no number.
constexpr int kTipoNonCorrispondente = 13;
// Visual Basic's "Path/File access error", the number file failures are logged with.
constexpr int kErroreFile = 75;
// What the register is told is in stock when the archive has no positive quantity.
constexpr double kQuantitaPredefinita = 900;

void segnalaPreparazione(const DatabaseError& e) {
  ScriviErrore(kModulo, QStringLiteral("PreparaTabxInvio"), e.description(), e.code());
}

// A full disk or a file that cannot be written fails every row after it: the preparation ends,
// where a bad row only loses itself.
bool guastoDelFile(const DatabaseError& e) {
  switch (e.code() & 0xff) {
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return true;
    default:
      return false;
  }
}

struct Offerta {
  QDateTime dal;
  QDateTime al;
  Money prezzo;
};

Offerta offertaCorrente(const Recordset& offerte) {
  return {offerte.dateTime("DataDAL"), offerte.dateTime("DataAL"), offerte.money("PrzScnt")};
}

bool inCorso(const Offerta& offerta, const QDate& oggi) {
  return offerta.dal.isValid() && offerta.al.isValid() && offerta.dal.date() <= oggi &&
         offerta.al.date() >= oggi;
}

bool soloCifre(const QString& testo) {
  return std::all_of(testo.begin(), testo.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QStringList barCodeNonNulli(Recordset& codici) {
  QStringList barCode;
  for (; !codici.eof(); codici.moveNext())
    if (!codici.isNull("BarCode")) barCode << codici.text("BarCode");
  return barCode;
}

// The statements on offers and extra bar codes join the product code unquoted, so a plain
// integer code finds the rows whose text is that very code. For those codes each table is read
// once, in the order the statements give; any other code runs its statement, with whatever the
// store makes of it.
class RigheCollegate {
 public:
  explicit RigheCollegate(Database& db) : db_(db) {
    try {
      Recordset offerte = db_.openRecordset(QStringLiteral("Select * from Offerte"));
      for (; !offerte.eof(); offerte.moveNext()) {
        const QString articolo = offerte.text("Articolo");
        if (!offerte_.contains(articolo)) offerte_.insert(articolo, offertaCorrente(offerte));
      }
    } catch (const DatabaseError& e) {
      segnalaPreparazione(e);
    }
    try {
      Recordset codici =
          db_.openRecordset(QStringLiteral("Select * from BarCodeUlteriori order by BarCode ASC"));
      for (; !codici.eof(); codici.moveNext())
        if (!codici.isNull("BarCode"))
          barCode_[codici.text("CodProd")].append(codici.text("BarCode"));
    } catch (const DatabaseError& e) {
      segnalaPreparazione(e);
    }
  }

  std::optional<Offerta> primaOfferta(const QString& codMateriale) {
    if (codiceIntero(codMateriale)) {
      const auto it = offerte_.constFind(codMateriale);
      if (it == offerte_.constEnd()) return std::nullopt;
      return *it;
    }
    Recordset offerte = db_.openRecordset(QStringLiteral("Select * from Offerte where Articolo=") +
                                          valoreNelComando(codMateriale));
    if (offerte.eof()) return std::nullopt;
    return offertaCorrente(offerte);
  }

  QStringList barCodeUlteriori(const QString& codMateriale) {
    if (codiceIntero(codMateriale)) return barCode_.value(codMateriale);
    Recordset codici =
        db_.openRecordset(QStringLiteral("Select * from BarCodeUlteriori where CodProd=") +
                          valoreNelComando(codMateriale) + QStringLiteral(" order by BarCode ASC"));
    return barCodeNonNulli(codici);
  }

 private:
  // The statements join the code unquoted, as the store has always compared it: only a number
  // may go in, so that a code such as "12 or 1=1" never changes a statement. Any other code
  // fails as the statement would, with no rows.
  static QString valoreNelComando(const QString& codice) {
    static const QRegularExpression numero(QStringLiteral("^\\s*[+-]?[0-9]+(\\.[0-9]+)?\\s*$"));
    if (!numero.match(codice).hasMatch())
      throw DatabaseError(QStringLiteral("Codice prodotto non numerico: ") + codice,
                          kTipoNonCorrispondente);
    return codice;
  }

  static bool codiceIntero(const QString& codice) {
    if (codice.isEmpty() || codice.size() > 18 || (codice.size() > 1 && codice[0] == u'0'))
      return false;
    return soloCifre(codice);
  }

  Database& db_;
  QHash<QString, Offerta> offerte_;
  QHash<QString, QStringList> barCode_;
};

// Few departments, many products: each name is looked up once.
class CodiciReparto {
 public:
  explicit CodiciReparto(Database& db) : db_(db) {}

  qint64 codice(const QString& genere) {
    // Numeric as the view "prodotti" takes it: digits only, blanks around them allowed.
    const QString cifre = genere.trimmed();
    if (!cifre.isEmpty() && soloCifre(cifre)) return cifre.toLongLong();
    const auto it = codici_.constFind(genere);
    if (it != codici_.constEnd()) return *it;
    qint64 codice = 0;
    try {
      Recordset reparto =
          db_.openRecordset(QStringLiteral("Select Cod from reparti where Descrizione=") +
                            platform::db::sqlText(genere));
      if (!reparto.eof()) codice = reparto.integer("Cod");
    } catch (const DatabaseError& e) {
      segnalaPreparazione(e);
    }
    codici_.insert(genere, codice);
    return codice;
  }

 private:
  Database& db_;
  QHash<QString, qint64> codici_;
};

// One product as the work table gets it; its extra bar codes take the numbers after its own.
struct RigaPlu {
  QString descrizione;
  QString barCode;
  double quantita = 0;
  Money prezzo;
  qint64 reparto = 0;
  QString codMateriale;
  QString unitaMisura;
  QStringList barCodeUlteriori;
};

// The product columns the preparation reads, in the order of the select list.
struct Prodotto {
  static constexpr char kColonne[] =
      "CodMateriale, Descrizione, BarCode, Genere, Quantità, Costo, UnitaMisura";
  enum { CodMateriale, Descrizione, BarCode, Genere, Quantita, Costo, UnitaMisura };
};

QString testo(const Recordset& rs, int campo) { return rs.value(campo).toString(); }

RigaPlu rigaPlu(const Recordset& prodotto, RigheCollegate& collegate, CodiciReparto& reparti,
                const QDate& oggi) {
  RigaPlu riga;
  riga.codMateriale = testo(prodotto, Prodotto::CodMateriale);
  riga.descrizione = DescrizionePerCassa(testo(prodotto, Prodotto::Descrizione));
  const QString unita = testo(prodotto, Prodotto::UnitaMisura);
  riga.unitaMisura = unita.isEmpty() ? QStringLiteral("Pz") : unita;
  riga.barCode = BarCodePerCassa(testo(prodotto, Prodotto::BarCode));
  const double quantita = prodotto.value(Prodotto::Quantita).toDouble();
  // The file shows three decimals: the table keeps just those.
  riga.quantita =
      QString::number(quantita > 0 ? quantita : kQuantitaPredefinita, 'f', 3).toDouble();
  std::optional<Offerta> offerta;
  try {
    offerta = collegate.primaOfferta(riga.codMateriale);
  } catch (const DatabaseError& e) {
    segnalaPreparazione(e);
  }
  const Money costo = Money::fromDouble(prodotto.value(Prodotto::Costo).toDouble());
  riga.prezzo = (offerta && inCorso(*offerta, oggi) ? offerta->prezzo : costo).roundedTo(2);
  riga.reparto = reparti.codice(testo(prodotto, Prodotto::Genere));
  try {
    riga.barCodeUlteriori = collegate.barCodeUlteriori(riga.codMateriale);
  } catch (const DatabaseError& e) {
    segnalaPreparazione(e);
  }
  return riga;
}

// Rows go in through one prepared statement, stored as the recordset stores them: adding them
// through a recordset reads every new row back, which is most of the time of a large run.
class TabellaDiLavoro {
 public:
  explicit TabellaDiLavoro(Database& db)
      : aggiunta_(db.handle(),
                  QStringLiteral("INSERT INTO MagazzinoPerOstrel (Ordinale, Descrizione, BarCode, "
                                 "Quantita, Prezzo, RepartoAss, CodArtMagazzino, UM, Modificato) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)")) {}

  void aggiungi(const RigaPlu& riga, const QString& barCode, int plu, bool modificato) {
    aggiunta_.reset();
    aggiunta_.bind(1, plu);
    aggiunta_.bind(2, riga.descrizione);
    aggiunta_.bind(3, barCode);
    aggiunta_.bind(4, riga.quantita);
    aggiunta_.bind(5, riga.prezzo.toDouble());
    aggiunta_.bind(6, riga.reparto);
    aggiunta_.bind(7, riga.codMateriale);
    aggiunta_.bind(8, riga.unitaMisura);
    aggiunta_.bind(9, modificato);
    aggiunta_.step();
  }

 private:
  platform::db::SqliteStatement aggiunta_;
};

// The work table's columns the file shows, in the order of the select list.
struct Record {
  static constexpr char kColonne[] =
      "Ordinale, BarCode, Descrizione, RepartoAss, Prezzo, Quantita, Modificato";
  enum { Ordinale, BarCode, Descrizione, RepartoAss, Prezzo, Quantita, Modificato };
};

// "P/" adds a PLU under its number, "A/" changes the one with that bar code.
QString recordDelFile(const Recordset& riga, bool torvane) {
  const bool variazione = riga.value(Record::Modificato).toLongLong() != 0;
  QStringList campi{variazione ? QStringLiteral("A") : QStringLiteral("P")};
  if (!variazione) campi << QString::number(riga.value(Record::Ordinale).toLongLong());
  campi << SenzaCaratteriDiControllo(testo(riga, Record::BarCode))
        << DescrizioneNelRecordPlu(testo(riga, Record::Descrizione))
        << QString::number(riga.value(Record::RepartoAss).toLongLong()) << QStringLiteral("0")
        << Money::fromDouble(riga.value(Record::Prezzo).toDouble()).toPlain(2)
        << QStringLiteral("150.00")
        << QString::number(riga.value(Record::Quantita).toDouble(), 'f', 3)
        << (torvane ? QStringLiteral("10110000") : QStringLiteral("00010000"));
  if (torvane) campi << QStringLiteral("0.00") << QStringLiteral("0");
  if (torvane && variazione) campi << QString() << QString() << QString();
  return campi.join(u'/') + u'/';
}

}  // namespace

RecordPlu::RecordPlu(Database& db, QString cartellaProgramma, platform::Notice& notice,
                     platform::Prompts& prompts, platform::Clock& clock, bool torvane,
                     std::function<void(const QString&)> statoPreparazione,
                     std::function<void(int)> totaleRecord)
    : db_(db),
      cartellaProgramma_(std::move(cartellaProgramma)),
      notice_(notice),
      prompts_(prompts),
      clock_(clock),
      torvane_(torvane),
      statoPreparazione_(std::move(statoPreparazione)),
      totaleRecord_(std::move(totaleRecord)) {}

bool RecordPlu::PreparaTabxInvio(bool soloModificati) {
  guasto_.clear();
  const QString selezione =
      QStringLiteral("Select ") + QString::fromUtf8(Prodotto::kColonne) + " from Magazzino";
  const QString ordine = QStringLiteral(" order by BarCode ASC");
  std::vector<RigaPlu> righe;
  try {
    Recordset prodotti = db_.openRecordset(
        soloModificati ? selezione + QStringLiteral(" where Modificato=") + "-1" + ordine
                       : selezione + ordine);
    if (prodotti.eof()) return false;
    RigheCollegate collegate(db_);
    CodiciReparto reparti(db_);
    const QDate oggi = clock_.now().date();
    righe.reserve(prodotti.recordCount());
    for (; !prodotti.eof(); prodotti.moveNext()) {
      try {
        righe.push_back(rigaPlu(prodotti, collegate, reparti, oggi));
      } catch (const DatabaseError& e) {
        segnalaPreparazione(e);
      }
    }
  } catch (const DatabaseError& e) {
    segnalaPreparazione(e);
    guasto_ = e.description();
    return false;
  }

  qsizetype numeri = static_cast<qsizetype>(righe.size());
  for (const RigaPlu& riga : righe) numeri += riga.barCodeUlteriori.size();
  constexpr int kNumeriPlu = kUltimoPlu - kPrimoPlu + 1;
  if (numeri > kNumeriPlu) {
    prompts_.ask({QStringLiteral("Troppi prodotti da inviare: servono %1 numeri PLU, la cassa ne "
                                 "accetta al massimo %2 (da %3 a %4). Invio annullato.")
                      .arg(numeri)
                      .arg(kNumeriPlu)
                      .arg(kPrimoPlu)
                      .arg(kUltimoPlu),
                  Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Exclamation,
                  std::nullopt});
    return false;
  }

  // One transaction: much faster, and a failure part-way leaves the table as it was. Old rows
  // that cannot be deleted would be sent again with the new ones: that ends the preparation.
  try {
    Database::Transaction transazione(db_);
    db_.execute(QStringLiteral("Delete * from MagazzinoPerOstrel"));
    TabellaDiLavoro tabella(db_);
    const QString stato = QStringLiteral("PREPARAZIONE DATI PER INVIO SULLE CASSE - N. Plu: ");
    if (statoPreparazione_) statoPreparazione_(stato);
    int plu = kPrimoPlu;
    for (const RigaPlu& riga : righe) {
      if (statoPreparazione_) statoPreparazione_(stato + QString::number(plu));
      try {
        tabella.aggiungi(riga, riga.barCode, plu, soloModificati);
      } catch (const DatabaseError& e) {
        if (guastoDelFile(e)) throw;
        segnalaPreparazione(e);
      }
      for (const QString& barCode : riga.barCodeUlteriori) {
        ++plu;
        try {
          tabella.aggiungi(riga, barCode, plu, soloModificati);
        } catch (const DatabaseError& e) {
          if (guastoDelFile(e)) throw;
          segnalaPreparazione(e);
        }
      }
      ++plu;
    }
    transazione.commit();
  } catch (const DatabaseError& e) {
    segnalaPreparazione(e);
    guasto_ = e.description();
    return false;
  }
  return true;
}

QString RecordPlu::PercorsoFilePLU(const QString& chiave) const {
  return cartellaProgramma_ + QStringLiteral("/FilePLU") + QString(chiave).remove(u'.') +
         QStringLiteral(".txt");
}

bool RecordPlu::ScriviFilePLU(const QString& chiave) {
  guasto_.clear();
  const QString percorso = PercorsoFilePLU(chiave);
  try {
    Recordset righe = db_.openRecordset(QStringLiteral("Select ") + Record::kColonne +
                                        " from MagazzinoPerOstrel order by BarCode ASC");
    if (righe.eof()) {
      // Nothing to send: the file of an earlier send must not look like this one's.
      QFile::remove(percorso);
      notice_.show(QStringLiteral("Nessun Articolo da inviare!!!"));
      return false;
    }
    if (totaleRecord_) totaleRecord_(righe.recordCount());
    QByteArray contenuto;
    for (; !righe.eof(); righe.moveNext())
      contenuto += recordDelFile(righe, torvane_).toUtf8() + "\r\n";
    // The driver reads UTF-8 and puts Windows-1252 on the line. A file that cannot be written
    // whole is not sent at all: the one of an earlier send stays, unsent.
    guasto_ = platform::writeWholeFile(percorso, contenuto);
    if (!guasto_.isEmpty()) {
      ScriviErrore(kModulo, QStringLiteral("ScriviFilePLU"), guasto_, kErroreFile);
      return false;
    }
  } catch (const DatabaseError& e) {
    guasto_ = e.description();
    ScriviErrore(kModulo, QStringLiteral("ScriviFilePLU"), e.description(), e.code());
    return false;
  }
  return true;
}

QString BarCodePerCassa(const QString& barCode) {
  if (!barCode.startsWith(u'2') || barCode.size() == 5) return barCode;
  return barCode.mid(2, 5);
}

}  // namespace listinova
