#include "startup/error_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

#include "platform/clock.h"

namespace listinova {

namespace {

constexpr qint64 kLargestLog = 120000;
// Visual Basic's "Path/File access error", the number the Windows program logged here.
constexpr int kFileAccessError = 75;

const ErrorLog* installedLog = nullptr;

QString datedBackupName(const QString& errFolder, const QDateTime& when) {
  const QDate date = when.date();
  QString time = when.time().toString(QStringLiteral("hh:mm:ss"));
  time.replace(u':', u'_').replace(u'.', u'_');
  const QString stem = errFolder + QStringLiteral("/Errori") + QString::number(date.day()) +
                       QString::number(date.month()) + QString::number(date.year()) + time;
  QString name = stem + QStringLiteral(".bak");
  // Two rotations within one second must not overwrite the older copy.
  for (int copy = 2; QFileInfo::exists(name); ++copy)
    name = stem + u'_' + QString::number(copy) + QStringLiteral(".bak");
  return name;
}

}  // namespace

ErrorLog::ErrorLog(QString programFolder, platform::Clock& clock)
    : folder_(std::move(programFolder)), clock_(clock) {}

QString ErrorLog::percorsoLog() const { return folder_ + QStringLiteral("/Dati/ErrorLog.dat"); }

void ErrorLog::scrivi(const QString& modulo, const QString& procedura, const QString& descrizione,
                      const QString& numero) const {
  const QDateTime now = clock_.now();
  QString line = QStringLiteral("[-") + now.date().toString(QStringLiteral("dd/MM/yyyy")) + u'-' +
                 now.time().toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("- Des.:") +
                 descrizione + QStringLiteral(" Err.N.:") + numero + QStringLiteral(" *-") +
                 modulo + u'-' + procedura + QStringLiteral("-]");
  // One error, one line.
  line.replace(u'\r', u' ').replace(u'\n', u' ');
  QDir().mkpath(folder_ + QStringLiteral("/Dati"));
  QFile log(percorsoLog());
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  log.write((line + QStringLiteral("\r\n")).toUtf8());
}

void ErrorLog::controllaDimensione() const {
  const QString dati = folder_ + QStringLiteral("/Dati");
  const QString errFolder = dati + QStringLiteral("/Err");
  const QString backup = errFolder + QStringLiteral("/Errori.bak");
  const auto segnala = [this](const QString& descrizione) {
    scrivi(QStringLiteral("Funzioni"), QStringLiteral("ControllaDimensioneErrori"), descrizione,
           QString::number(kFileAccessError));
  };
  const auto rinomina = [&](const QString& from, const QString& to) {
    QFile file(from);
    if (file.rename(to)) return true;
    segnala(QStringLiteral("Errore di accesso al percorso/file: ") + from + QStringLiteral(" -> ") +
            to + QStringLiteral(" (") + file.errorString() + u')');
    return false;
  };

  for (const QString& name : {QStringLiteral("LogErr.ini"), QStringLiteral("ErrorLog.dat")}) {
    const QString path = dati + u'/' + name;
    const QFileInfo info(path);
    if (!info.exists() || info.size() <= kLargestLog) continue;
    if (!QDir().mkpath(errFolder)) {
      segnala(QStringLiteral("Errore di accesso al percorso/file: ") + errFolder);
      return;
    }
    if (QFileInfo::exists(backup) && !rinomina(backup, datedBackupName(errFolder, clock_.now())))
      return;
    clock_.wait(100);
    if (!rinomina(path, backup)) return;
  }
}

void ScriviErrore(const QString& modulo, const QString& procedura, const QString& descrizione,
                  const QString& numero) {
  if (installedLog) installedLog->scrivi(modulo, procedura, descrizione, numero);
}

void ScriviErrore(const QString& modulo, const QString& procedura, const QString& descrizione,
                  int numero) {
  ScriviErrore(modulo, procedura, descrizione, QString::number(numero));
}

void installaErrorLog(const ErrorLog* log) { installedLog = log; }

}  // namespace listinova
