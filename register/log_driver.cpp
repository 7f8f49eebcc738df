#include "register/log_driver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

#include "platform/clock.h"

namespace listinova {

namespace {

// "LOG" + day + month (no leading zeros) + year + "hhmm" + ".bak"; "_2", "_3"... when taken.
QString nomeArchivio(const QString& cartellaErr, const QDateTime& quando) {
  const QDate data = quando.date();
  const QString radice = cartellaErr + QStringLiteral("/LOG") + QString::number(data.day()) +
                         QString::number(data.month()) + QString::number(data.year()) +
                         quando.time().toString(QStringLiteral("hhmm"));
  QString nome = radice + QStringLiteral(".bak");
  for (int copia = 2; QFileInfo::exists(nome); ++copia)
    nome = radice + u'_' + QString::number(copia) + QStringLiteral(".bak");
  return nome;
}

}  // namespace

LogDriver::LogDriver(QString programFolder, platform::Clock& clock)
    : folder_(std::move(programFolder)), clock_(clock) {}

QString LogDriver::percorsoLog() const { return folder_ + QStringLiteral("/BrindeloLOG.dat"); }

void LogDriver::archiviaSeTroppoGrande() {
  const QFileInfo log(percorsoLog());
  if (!log.exists() || log.size() <= kDimensioneMassima) return;
  const QString cartellaErr = folder_ + QStringLiteral("/Err");
  if (!QDir().mkpath(cartellaErr)) return;
  if (!QFile::rename(percorsoLog(), nomeArchivio(cartellaErr, clock_.now()))) return;
  clock_.wait(100);
}

void LogDriver::ScriviLogDriver(const QString& testo) {
  archiviaSeTroppoGrande();
  const QDateTime adesso = clock_.now();
  const QString voce = u'-' + adesso.date().toString(QStringLiteral("dd/MM/yyyy")) + u'-' +
                       adesso.time().toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("\r\n") +
                       testo + QStringLiteral("\r\n");
  QFile file(percorsoLog());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  file.write(voce.toUtf8());
}

}  // namespace listinova
