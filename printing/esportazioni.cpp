// The stock and sales exports: SELECT ... INTO workbook statements run by the store, with the
// operator's questions around them.
#include "printing/esportazioni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "platform/whole_file.h"
#include "platform/workbook_writer.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::Question;

constexpr char kModulo[] = "Esportazioni";
constexpr char kFormatoData[] = "dd/MM/yyyy";

QString destinazione(const QString& file) {
  return QStringLiteral(" INTO [Excel 8.0;Database=") + file + "]";
}

// There is no ODBC source to make here: the step always succeeds, and writes so, unless the
// operator set the key to "Falso" to be asked.
void CreaOrigineDati(const QString& setup) {
  if (LeggiINI(setup, "DSNUtente", "Creato", "?").toUpper() != "FALSO")
    ScriviINI(setup, "DSNUtente", "Creato", "Vero");
}

bool origineDatiPronta(AmbienteEsportazione& a) {
  CreaOrigineDati(a.percorsoSetup);
  if (LeggiINI(a.percorsoSetup, "DSNUtente", "Creato", "?").toUpper() != "FALSO") return true;
  a.prompts.ask({QStringLiteral("Creare in 'Pannello di Controllo' - 'Origine dati (ODBC)' - 'DSN "
                                "Utente' la voce Excel Driver con Provider 'Microsoft Excel "
                                "Driver' "),
                 Globali().TitoloProgramma, Buttons::Ok, Icon::Information});
  if (a.prompts.ask({QStringLiteral("Voce già creata?"), Globali().TitoloProgramma, Buttons::YesNo,
                     Icon::Question}) != Answer::Yes)
    return false;
  ScriviINI(a.percorsoSetup, "DSNUtente", "Creato", "Vero");
  return true;
}

// The file name, once the operator has given one and agreed to overwrite; empty otherwise.
QString fileScelto(AmbienteEsportazione& a, const QString& titolo) {
  const QString scelto = a.nomeFile ? a.nomeFile(titolo) : QString();
  if (scelto.trimmed().isEmpty()) {
    a.notice.show(QStringLiteral("Esportazione non effettuata! - Nome file non definito"));
    return {};
  }
  const QString file = NomeCartellaDiLavoro(scelto.trimmed());
  if (QFileInfo::exists(file) &&
      a.prompts.ask(
          {QStringLiteral("ATTENZIONE nome file già esistente - Procedere con la sovrascrittura?"),
           Globali().TitoloProgramma, Buttons::YesNo, Icon::Question}) != Answer::Yes) {
    a.notice.show(QStringLiteral("Esportazione non effettuata - Cambiare nome e riprovare"));
    return {};
  }
  return file;
}

EsitoEsportazione esporta(AmbienteEsportazione& a, const char* procedura, const QString& titolo,
                          const std::function<QStringList(const QString&)>& istruzioni) {
  if (!origineDatiPronta(a)) return EsitoEsportazione::Annullata;
  const QString file = fileScelto(a, titolo);
  if (file.isEmpty()) return EsitoEsportazione::Annullata;
  if (a.attesa) a.attesa(true);
  try {
    ScriviCartellaDiLavoro(a.db, a.scrittore, file, istruzioni);
  } catch (const platform::db::DatabaseError& e) {
    if (a.attesa) a.attesa(false);
    ScriviErrore(kModulo, procedura, DescrizioneCompleta(e), e.code());
    a.prompts.ask({QStringLiteral("Esportazione non riuscita: ") + e.description(),
                   Globali().TitoloProgramma, Buttons::Ok, Icon::Exclamation});
    return EsitoEsportazione::Fallita;
  }
  a.notice.show(QStringLiteral("Operazione Effettuata"));
  if (a.attesa) a.attesa(false);
  return EsitoEsportazione::Eseguita;
}

}  // namespace

QStringList IstruzioniEsportaMagazzino(const QString& file, bool soloQtaZero) {
  const QString righe =
      QStringLiteral("SELECT ") +
      "BarCode, CodProdottoFornitore, Descrizione, [Costo2] AS CostoAcquisto, UnitaMisura, "
      "Quantità, [Costo] AS PrezzoVendita, ([Magazzino.Quantità] * [Magazzino.Costo2]) as "
      "ValoreMAGAZZINO, ([Magazzino.Quantità] * [Magazzino.Costo]) as ValoreVENDITA, Fornitore, "
      "Genere" +
      destinazione(file) +
      (soloQtaZero
           ? QStringLiteral(".[Foglio1] FROM Magazzino where Quantità<=") + QString::number(0) +
                 " order by Magazzino.Descrizione ASC"
           : QStringLiteral(".[Foglio1] FROM Magazzino order by Magazzino.Descrizione ASC"));
  const QString totali =
      QStringLiteral("SELECT ") +
      " (SUM([Magazzino.Quantità] * [Magazzino.Costo2])) as ValoreTOTALEMAGAZZINO, "
      "(SUM([Magazzino.Quantità] * [Magazzino.Costo])) as "
      "ValoreTotCOMEVENDITA,((SUM([Magazzino.Quantità] * [Magazzino.Costo]))-(SUM([Magazzino."
      "Quantità] * [Magazzino.Costo2]))) as DIFFERENZA " +
      destinazione(file) + ".[Foglio2] FROM Magazzino ";
  return {righe, totali};
}

QString IstruzioneEsportaVendite(const QString& file, const QDate& dal, const QDate& al) {
  return QStringLiteral(
             "SELECT Magazzino.Descrizione, StoricoPLU.EAN, StoricoPLU.Qta, StoricoPLU.DataModif") +
         destinazione(file) +
         ".[Foglio1] FROM Magazzino INNER JOIN StoricoPLU ON Magazzino.BarCode = StoricoPLU.EAN "
         "where DataModif>=Datevalue('" +
         dal.toString(kFormatoData) + "') And DataModif<=Datevalue('" + al.toString(kFormatoData) +
         "')" + " order by Magazzino.Descrizione ASC";
}

QString DescrizioneCompleta(const platform::db::DatabaseError& e) {
  return e.technical().isEmpty() ? e.description()
                                 : e.description() + QStringLiteral(" [") + e.technical() + u']';
}

QString NomeCartellaDiLavoro(const QString& nomeScelto) {
  const QString suffisso = QFileInfo(nomeScelto).suffix().toLower();
  if (suffisso.isEmpty()) return nomeScelto + ".xlsx";
  if (suffisso == "xls") return nomeScelto + "x";
  return nomeScelto;
}

void ScriviCartellaDiLavoro(platform::db::Database& db, platform::WorkbookWriter& scrittore,
                            const QString& file,
                            const std::function<QStringList(const QString&)>& istruzioni) {
  const QFileInfo info(file);
  const QString accanto = info.dir().filePath("." + info.fileName() + ".parziale.xlsx");
  QFile::remove(accanto);
  // The operator chose `file`: the hidden work file is never named to them.
  const auto perIlFile = [&](const platform::db::DatabaseError& e) {
    QString descrizione = e.description();
    descrizione.replace(QDir::toNativeSeparators(accanto), QDir::toNativeSeparators(file));
    return platform::db::DatabaseError(descrizione, e.code(), e.technical());
  };
  try {
    scrittore.gather(accanto);
    for (const QString& istruzione : istruzioni(accanto)) db.execute(istruzione);
    scrittore.flush(accanto);
  } catch (const platform::db::DatabaseError& e) {
    QFile::remove(accanto);
    throw perIlFile(e);
  } catch (...) {
    QFile::remove(accanto);
    throw;
  }
  if (std::rename(QFile::encodeName(accanto).constData(), QFile::encodeName(file).constData()) !=
      0) {
    const QString causa = platform::describeLibraryFailure(errno, file);
    QFile::remove(accanto);
    throw platform::db::DatabaseError(causa, 3436);
  }
  platform::syncFolder(info.absolutePath());
}

EsitoEsportazione EsportaMagazzino(AmbienteEsportazione& ambiente, bool soloQtaZero) {
  return esporta(
      ambiente, "EsportaMagazzino", QStringLiteral("Salva il file del MAGAZZINO"),
      [soloQtaZero](const QString& file) { return IstruzioniEsportaMagazzino(file, soloQtaZero); });
}

EsitoEsportazione EsportaVendite(AmbienteEsportazione& ambiente, const QDate& dal,
                                 const QDate& al) {
  return esporta(ambiente, "EsportaVendite", QStringLiteral("Salva il file dei PLU Venduti"),
                 [dal, al](const QString& file) {
                   return QStringList{IstruzioneEsportaVendite(file, dal, al)};
                 });
}

}  // namespace listinova
