#include "promotions/salvataggio_dati.h"

#include <QDir>
#include <QFileInfo>

#include "platform/db/database_error.h"
#include "platform/db/online_backup.h"
#include "platform/file_system.h"

namespace listinova {
namespace {

constexpr char kNomeSalvataggio[] = "PLU_BCK";
// What SQLite keeps beside a store while it is open: its content goes into the copy.
constexpr const char* kCompagniArchivio[] = {"-wal", "-shm", "-journal"};

bool compagnoDiArchivio(const QFileInfo& file) {
  for (const char* suffisso : kCompagniArchivio) {
    const QString nome = file.filePath();
    if (nome.endsWith(QString::fromUtf8(suffisso)) &&
        platform::db::isStoreFile(nome.chopped(static_cast<int>(strlen(suffisso)))))
      return true;
  }
  return false;
}

// Copies one folder level; stores go through the online backup. An empty text on success.
QString copiaCartella(platform::FileSystem& fs, const QString& da, const QString& a) {
  if (!fs.makeFolder(a)) return QStringLiteral("Impossibile creare la cartella \"%1\"").arg(a);
  const QFileInfoList voci = QDir(da).entryInfoList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& voce : voci) {
    const QString destinazione = a + u'/' + voce.fileName();
    if (voce.isDir()) {
      if (QString errore = copiaCartella(fs, voce.filePath(), destinazione); !errore.isEmpty())
        return errore;
    } else if (compagnoDiArchivio(voce)) {
      continue;
    } else if (platform::db::isStoreFile(voce.filePath())) {
      try {
        platform::db::backupStore(voce.filePath(), destinazione);
      } catch (const platform::db::DatabaseError& errore) {
        return errore.description();
      }
      const QString controllo = platform::db::integrityCheck(destinazione);
      if (controllo != u"ok")
        return QStringLiteral("La copia \"%1\" non supera il controllo: %2")
            .arg(destinazione, controllo);
    } else if (!fs.copyFile(voce.filePath(), destinazione)) {
      return QStringLiteral("Impossibile copiare \"%1\"").arg(voce.filePath());
    }
  }
  return {};
}

}  // namespace

QString CartellaDiSalvataggio(const platform::FileSystem& fs, const QString& scelta,
                              const QDateTime& adesso) {
  const QString base = QDir::cleanPath(scelta) + u'/' + kNomeSalvataggio;
  if (!fs.exists(base)) return base;
  return base + QString::number(adesso.date().day()) + QString::number(adesso.date().month()) +
         adesso.toString("yyyyhhmm");
}

EsitoSalvataggio SalvaCartellaDati(platform::FileSystem& fs, const QString& cartellaDati,
                                   const QString& scelta, const QDateTime& adesso) {
  EsitoSalvataggio esito;
  const std::int64_t libero = fs.freeSpace(scelta);
  if (libero >= 0 && libero < kSpazioMinimoSalvataggio) {
    esito.stato = EsitoSalvataggio::Stato::SpazioInsufficiente;
    return esito;
  }
  if (!fs.isFolder(cartellaDati)) {
    esito.errore = QStringLiteral("Cartella dei dati \"%1\" non trovata").arg(cartellaDati);
    return esito;
  }
  esito.cartella = CartellaDiSalvataggio(fs, scelta, adesso);
  esito.errore = copiaCartella(fs, cartellaDati, esito.cartella + QStringLiteral("/Dati"));
  if (esito.errore.isEmpty()) esito.stato = EsitoSalvataggio::Stato::Completato;
  return esito;
}

}  // namespace listinova
