#include "promotions/salvataggio_dati.h"

#include <signal.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "platform/db/database_error.h"
#include "platform/db/online_backup.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"

namespace listinova {
namespace {

constexpr char kNomeSalvataggio[] = "PLU_BCK";
// The copy grows under this hidden name (with the process number) beside its target and takes
// its PLU_BCK name only when whole: a copy cut short never shows where a restore would look.
constexpr char kInCorso[] = ".PLU_BCK-in-corso-";
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
QString copiaCartella(const QString& da, const QString& a) {
  if (!QDir().mkpath(a)) return platform::describeWriteFailure(errno, a);
  const QFileInfoList voci = QDir(da).entryInfoList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& voce : voci) {
    const QString destinazione = a + u'/' + voce.fileName();
    if (voce.isDir()) {
      if (QString errore = copiaCartella(voce.filePath(), destinazione); !errore.isEmpty())
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
    } else if (QString errore = platform::copyFileChecked(voce.filePath(), destinazione);
               !errore.isEmpty()) {
      return errore;
    }
  }
  platform::syncFolder(a);
  return {};
}

// The copies that a killed or crashed backup left behind: their process is gone.
void togliCopieInterrotte(const QString& scelta) {
  const QStringList avanzi =
      QDir(scelta).entryList({QString::fromUtf8(kInCorso) + "*"}, QDir::Dirs | QDir::Hidden);
  for (const QString& nome : avanzi) {
    bool numero = false;
    const qint64 processo = nome.mid(int(strlen(kInCorso))).section(u'-', 0, 0).toLongLong(&numero);
    if (numero && processo > 0 && ::kill(pid_t(processo), 0) != 0 && errno == ESRCH)
      QDir(scelta + u'/' + nome).removeRecursively();
  }
}

// The operator's words for a backup the chosen folder refused.
QString causaNellaDestinazione(int errore, const QString& scelta) {
  const QString cartella = QDir::toNativeSeparators(scelta);
  switch (errore) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral(
                 "Spazio su disco esaurito in \"%1\": il salvataggio non è stato eseguito. "
                 "Liberare spazio sul disco e ritentare l'operazione.")
          .arg(cartella);
    case EROFS:
    case EACCES:
    case EPERM:
      return QStringLiteral(
                 "Cartella \"%1\" in sola lettura: il salvataggio non è stato eseguito. "
                 "Scegliere un'altra cartella o dare il permesso di scrittura.")
          .arg(cartella);
    default:
      return {};
  }
}

// Puts the finished copy under its name; an older copy there (two backups in one minute) is
// replaced only once the new one is in place.
bool mettiAlSuoPosto(const QString& provvisoria, const QString& cartella) {
  const QByteArray da = QFile::encodeName(provvisoria);
  const QByteArray a = QFile::encodeName(cartella);
  if (::rename(da.constData(), a.constData()) == 0) return true;
  if (errno != EEXIST && errno != ENOTEMPTY) return false;
  const QString vecchia = provvisoria + QStringLiteral("-vecchia");
  if (::rename(a.constData(), QFile::encodeName(vecchia).constData()) != 0) return false;
  if (::rename(da.constData(), a.constData()) != 0) {
    ::rename(QFile::encodeName(vecchia).constData(), a.constData());
    return false;
  }
  QDir(vecchia).removeRecursively();
  return true;
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
  if (!fs.isFolder(cartellaDati)) {
    esito.errore = QStringLiteral("Cartella dei dati \"%1\" non trovata").arg(cartellaDati);
    return esito;
  }
  togliCopieInterrotte(scelta);
  // A folder that takes no new entry says so before its free space is weighed: a read-only
  // disk may well report no room at all.
  const QString provvisoria = QDir::cleanPath(scelta) + u'/' + QString::fromUtf8(kInCorso) +
                              QString::number(QCoreApplication::applicationPid());
  QDir(provvisoria).removeRecursively();
  if (::mkdir(QFile::encodeName(provvisoria).constData(), 0755) != 0) {
    esito.errore = causaNellaDestinazione(errno, scelta);
    if (esito.errore.isEmpty()) esito.errore = platform::describeWriteFailure(errno, provvisoria);
    return esito;
  }
  const std::int64_t libero = fs.freeSpace(scelta);
  if (libero >= 0 && libero < kSpazioMinimoSalvataggio) {
    QDir(provvisoria).removeRecursively();
    esito.stato = EsitoSalvataggio::Stato::SpazioInsufficiente;
    return esito;
  }
  esito.cartella = CartellaDiSalvataggio(fs, scelta, adesso);
  esito.errore = copiaCartella(cartellaDati, provvisoria + QStringLiteral("/Dati"));
  if (esito.errore.isEmpty()) {
    platform::syncFolder(provvisoria);
    if (mettiAlSuoPosto(provvisoria, esito.cartella)) {
      platform::syncFolder(scelta);
      esito.stato = EsitoSalvataggio::Stato::Completato;
      return esito;
    }
    esito.errore = platform::describeWriteFailure(errno, esito.cartella);
  }
  // The folder's state while the copy still holds its space tells the cause best.
  const QString causa =
      causaNellaDestinazione(platform::probeFolderError(provvisoria + "/x"), scelta);
  if (!causa.isEmpty()) esito.errore = causa;
  esito.errore.replace(QDir::toNativeSeparators(provvisoria),
                       QDir::toNativeSeparators(esito.cartella));
  esito.errore.replace(provvisoria, esito.cartella);
  QDir(provvisoria).removeRecursively();
  return esito;
}

}  // namespace listinova
