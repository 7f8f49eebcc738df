#include "promotions/manutenzione_archivio.h"

#include <QDir>
#include <QRegularExpression>

#include "catalogue/apri_database.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/notice.h"
#include "platform/prompts.h"
#include "promotions/salvataggio_dati.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

constexpr char kModulo[] = "Magazzino";
constexpr char kNomeArchivio[] = "DbNegozio.mdb";
constexpr char kNessunaCartella[] = "Nessuna cartella selezionata!!!";
constexpr int kPausaDopoQuantitaMs = 800;

// The entry of `cartella` named `nome` whatever its case; empty when there is none.
QString voceSenzaMaiuscole(const QString& cartella, const QString& nome, QDir::Filters tipo) {
  for (const QString& voce : QDir(cartella).entryList(tipo | QDir::Hidden))
    if (voce.compare(nome, Qt::CaseInsensitive) == 0) return QDir(cartella).filePath(voce);
  return {};
}

}  // namespace

QString TrovaArchivio(const QString& cartella) {
  if (cartella.isEmpty()) return {};
  if (QString file = voceSenzaMaiuscole(cartella, kNomeArchivio, QDir::Files); !file.isEmpty())
    return file;
  const QString dati = voceSenzaMaiuscole(cartella, QStringLiteral("Dati"), QDir::Dirs);
  return dati.isEmpty() ? QString() : voceSenzaMaiuscole(dati, kNomeArchivio, QDir::Files);
}

ManutenzioneArchivio::ManutenzioneArchivio(Ambiente ambiente) : a_(std::move(ambiente)) {}

bool ManutenzioneArchivio::applicaQuantita(const QString& testo) {
  static const QRegularExpression cifre(QStringLiteral("^[0-9]{1,9}$"));
  const QString pulito = testo.trimmed();
  const bool valida =
      cifre.match(pulito).hasMatch() && pulito.toInt() > 0 && pulito.toInt() <= kQuantitaMassima;
  if (!valida) {
    a_.notice.show(QStringLiteral("Impostare un numero intero (max 99999)"));
    return false;
  }
  a_.db.execute("UPDATE Magazzino SET Magazzino.Quantità =" + QString::number(pulito.toInt()));
  a_.clock.wait(kPausaDopoQuantitaMs);
  return true;
}

void ManutenzioneArchivio::salvaDati() {
  const QString scelta =
      a_.sceltaCartella(QStringLiteral("Seleziona la cartella dove salvare i DATI"));
  if (scelta.isEmpty()) {
    a_.notice.show(kNessunaCartella);
    return;
  }
  const EsitoSalvataggio esito =
      SalvaCartellaDati(a_.fs, QDir(a_.cartellaProgramma).filePath("Dati"), scelta, a_.clock.now());
  switch (esito.stato) {
    case EsitoSalvataggio::Stato::SpazioInsufficiente:
      a_.prompts.ask({QStringLiteral("Spazio NON sufficiente\r\n\r\nLiberare spazio sul disco e "
                                     "ritentare l'operazione"),
                      Globali().TitoloProgramma, Buttons::Ok, Icon::None, std::nullopt});
      return;
    case EsitoSalvataggio::Stato::Fallito:
      ScriviErrore(kModulo, "cmdSalva_Click", esito.errore, 0);
      a_.prompts.ask({"Salvataggio non riuscito: " + esito.errore, Globali().TitoloProgramma,
                      Buttons::Ok, Icon::Exclamation, std::nullopt});
      return;
    case EsitoSalvataggio::Stato::Completato:
      a_.notice.show("Salvataggio completato in " + QDir::toNativeSeparators(esito.cartella));
      return;
  }
}

bool ManutenzioneArchivio::cambiaDati() {
  const QString domanda = QStringLiteral(
      "ATTENZIONE!!! La funzione selezionata consente di sostituire l'archivio dei "
      "PLU\r\n\r\nSicuri di procedere?\r\n\r\nN.B.:- Se non è stato eseguito il "
      "backup (Tasto SALVA DATI) l'operazione è irreversibile");
  if (a_.prompts.ask({domanda, Globali().TitoloProgramma, Buttons::YesNo, Icon::None,
                      Answer::No}) != Answer::Yes)
    return false;
  const QString scelta =
      a_.sceltaCartella(QStringLiteral("Seleziona la cartella da dove caricare i DATI"));
  if (scelta.isEmpty()) {
    a_.notice.show(kNessunaCartella);
    return false;
  }
  const QString archivio = TrovaArchivio(scelta);
  if (archivio.isEmpty()) {
    a_.prompts.ask({QStringLiteral("Percorso non Valido"), Globali().TitoloProgramma, Buttons::Ok,
                    Icon::None, std::nullopt});
    return false;
  }
  // Opened first: a file that is no store leaves the program on the archive it had.
  std::unique_ptr<platform::db::Database> nuovo = ApriDatabase(archivio);
  a_.db.swap(*nuovo);
  return true;
}

}  // namespace listinova
