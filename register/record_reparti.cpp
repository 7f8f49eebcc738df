#include "register/record_reparti.h"

#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <vector>

#include "platform/db/database.h"
#include "platform/money.h"
#include "platform/prompts.h"
#include "platform/whole_file.h"
#include "register/descrizione_per_cassa.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::db::DatabaseError;
using platform::db::Recordset;

constexpr char kModulo[] = "FUNZIONIOstrel";
constexpr char kSezioneIva[] = "IVA KELTRANO";
// Visual Basic's "Path/File access error", the number file failures are logged with.
constexpr int kErroreFile = 75;
constexpr int kLunghezzaNome = 20;

struct Reparto {
  qint64 cod = 0;
  QString nome;
  int codiceIva = 0;
  QString prezzo;
  QString sconto;
};

// "D/cod/name/vat/price/500.00/" — what both forms of the record begin with.
QString inizioRecord(const Reparto& reparto) {
  return QStringLiteral("D/%1/%2/%3/%4/500.00/")
      .arg(QString::number(reparto.cod), reparto.nome, QString::number(reparto.codiceIva),
           reparto.prezzo);
}

QString recordDelFile(const Reparto& reparto, int sequenza) {
  return inizioRecord(reparto) + QStringLiteral("1011000/%1/0.00/").arg(sequenza);
}

QString recordSeriale(const Reparto& reparto) {
  return inizioRecord(reparto) + QStringLiteral("1011") + reparto.sconto + QStringLiteral("00/") +
         QString::number(reparto.cod) + QStringLiteral("/0.00/");
}

QString scontoPerCassa(const Recordset& rs) {
  const double sconto = rs.number("Sconto");
  return sconto == 0 ? QStringLiteral("0") : QString::number(sconto);
}

// Every department with its register fields; nothing at the first VAT code missing.
std::optional<std::vector<Reparto>> leggiReparti(platform::db::Database& db, RecordReparti& record,
                                                 const char* procedura) {
  std::vector<Reparto> reparti;
  try {
    Recordset rs = db.openRecordset(QStringLiteral("Select * from Reparti order by Cod ASC"));
    for (; !rs.eof(); rs.moveNext()) {
      Reparto reparto;
      reparto.nome = NomeRepartoPerCassa(rs.text("Descrizione"));
      reparto.cod = rs.integer("Cod");
      reparto.codiceIva = record.CodiceIvaKeltrano(qRound(rs.number("Iva")));
      if (reparto.codiceIva == RecordReparti::kCodiceIvaMancante) return std::nullopt;
      reparto.prezzo = PrezzoRepartoPerCassa(rs.money("PrezzoPrefissato"));
      reparto.sconto = scontoPerCassa(rs);
      reparti.push_back(std::move(reparto));
    }
  } catch (const DatabaseError& e) {
    ScriviErrore(kModulo, procedura, e.description(), e.code());
    return std::nullopt;
  }
  return reparti;
}

}  // namespace

QString NomeRepartoPerCassa(const QString& descrizione) {
  QString nome = SenzaCaratteriDiControllo(descrizione);
  for (const QChar c : {u'/', u'\'', u',', u':', u'%'}) nome.remove(c);
  nome.replace(u'è', u'e').replace(u'é', u'e');
  if (nome.startsWith(u'0')) nome.remove(u'0');
  return nome.trimmed().toUpper().left(kLunghezzaNome);
}

QString PrezzoRepartoPerCassa(Money prezzo) { return prezzo.toItalian(2).replace(u',', u'.'); }

RecordReparti::RecordReparti(platform::db::Database& db, platform::Prompts& prompts,
                             QString cartellaProgramma, QString percorsoSetup, bool torvane)
    : db_(db),
      prompts_(prompts),
      cartellaProgramma_(std::move(cartellaProgramma)),
      percorsoSetup_(std::move(percorsoSetup)),
      torvane_(torvane) {}

int RecordReparti::CodiceIvaKeltrano(int aliquota) {
  const QString chiave = QString::number(aliquota);
  const QString valore = LeggiINI(percorsoSetup_, kSezioneIva, chiave, "?").trimmed();
  bool numero = false;
  const int codice = valore.toInt(&numero);
  if (numero) return codice;
  if (valore == u"?" || valore.isEmpty()) ScriviINI(percorsoSetup_, kSezioneIva, chiave, "?");
  prompts_.ask({QStringLiteral("Creare in Setup.ini, chiave [IVA KELTRANO], la relazione tra il "
                               "valore dell'iva ed il codice keltrano\n"
                               "In questo modo (segnarsi i valori su di un foglio):\n"
                               "4=1\n10=2\n21=3\n0=4"),
                Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Information,
                std::nullopt});
  return kCodiceIvaMancante;
}

QString RecordReparti::PercorsoFileREP(const QString& chiave) const {
  return cartellaProgramma_ + QStringLiteral("/FileREP") + QString(chiave).remove(u'.') +
         QStringLiteral(".txt");
}

bool RecordReparti::CreaFileInvioREPARTI(const QString& chiave) {
  const QString percorso = PercorsoFileREP(chiave);
  // An old file must never be taken for this send's, whatever stops it.
  if (::unlink(QFile::encodeName(percorso).constData()) != 0 && errno != ENOENT) {
    ScriviErrore(kModulo, QStringLiteral("CreaFileInvioREPARTI"),
                 platform::describeWriteFailure(errno, percorso), kErroreFile);
    return false;
  }
  const std::optional<std::vector<Reparto>> reparti =
      leggiReparti(db_, *this, "CreaFileInvioREPARTI");
  if (!reparti || reparti->empty()) return false;

  const int ultimaSequenza = torvane_ ? 20 : 10;
  int sequenza = 1;
  QByteArray contenuto;
  for (const Reparto& reparto : *reparti) {
    contenuto += recordDelFile(reparto, sequenza).toUtf8() + "\r\n";
    sequenza = sequenza == ultimaSequenza ? 1 : sequenza + 1;
  }
  // The driver reads UTF-8 and puts Windows-1252 on the line.
  const QString guasto = platform::writeWholeFile(percorso, contenuto);
  if (!guasto.isEmpty()) {
    ScriviErrore(kModulo, QStringLiteral("CreaFileInvioREPARTI"), guasto, kErroreFile);
    return false;
  }
  return true;
}

std::optional<QStringList> RecordReparti::RecordSeriali() {
  const std::optional<std::vector<Reparto>> reparti = leggiReparti(db_, *this, "RecordSeriali");
  if (!reparti) return std::nullopt;
  QStringList record;
  for (const Reparto& reparto : *reparti) record << recordSeriale(reparto);
  return record;
}

}  // namespace listinova
