// A private CUPS scheduler with one cups-pdf queue, for printing end to end without touching
// the machine's own printers: everything lives in a temporary folder and is reached through
// CUPS_SERVER. The scheduler runs filters as "lp" and cups-pdf as root, so it needs root.
#pragma once

#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "support/file_helpers.h"

namespace listinova::testing {

class CodaCupsPdf {
 public:
  static constexpr const char* kNome = "EtichettePDF";

  // Empty when the scheduler is up with the queue; otherwise why it is not.
  QString avvia() {
    if (geteuid() != 0) return "serve root per cupsd e cups-pdf";
    const QString ppd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
    for (const QString& f :
         {QString("/usr/sbin/cupsd"), QString("/usr/lib/cups/backend/cups-pdf"), ppd})
      if (!QFile::exists(f)) return f + " mancante: servono cups e cups-pdf";
    QProcess::execute("chmod", {"0755", radice_.path()});
    for (const char* d : {"spool", "cache", "state", "log", "tmp"}) QDir(radice_.path()).mkdir(d);
    QProcess::execute("chgrp", {"lp", percorso("spool"), percorso("tmp")});
    QProcess::execute("chmod", {"1770", percorso("tmp")});
    QProcess::execute("chmod", {"0710", percorso("spool")});
    writeAll(percorso("cupsd.conf"), "Listen " + socket().toUtf8() +
                                         "\nWebInterface No\nBrowsing Off\n<Location />\n"
                                         "  Order allow,deny\n  Allow all\n</Location>\n");
    const QString conf =
        "ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir "
        "%1/state\nTempDir %1/tmp\nErrorLog %1/log/error_log\nAccessLog "
        "%1/log/access_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
        "User lp\nGroup lp\nSystemGroup root\n";
    writeAll(percorso("cups-files.conf"), conf.arg(radice_.path()).toUtf8());
    cupsd_.start("/usr/sbin/cupsd",
                 {"-f", "-c", percorso("cupsd.conf"), "-s", percorso("cups-files.conf")});
    if (!cupsd_.waitForStarted()) return "cupsd non parte";
    for (int i = 0; i < 50 && !QFile::exists(socket()); ++i) QThread::msleep(100);
    QProcess lpadmin;
    lpadmin.setProcessEnvironment(ambiente());
    lpadmin.start("lpadmin", {"-p", kNome, "-E", "-v", "cups-pdf:/", "-P", ppd});
    if (!lpadmin.waitForFinished(30000) || lpadmin.exitCode() != 0)
      return "lpadmin: " + QString::fromUtf8(lpadmin.readAllStandardError());
    inizio_ = QDateTime::currentDateTime().addSecs(-1);
    return {};
  }

  ~CodaCupsPdf() {
    cupsd_.terminate();
    cupsd_.waitForFinished(10000);
  }

  // The environment a program needs to see this scheduler's queue.
  QProcessEnvironment ambiente() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", socket());
    return env;
  }

  // The PDF cups-pdf wrote for a job titled `titolo` since the queue was added, once the queue
  // is idle again; empty after `secondi` without one.
  QString attendiPdf(const QString& titolo, int secondi) const {
    const QDir uscita(CartellaUscita());
    for (int i = 0; i < secondi * 5; ++i) {
      for (const QFileInfo& f : uscita.entryInfoList({titolo + "*.pdf"}, QDir::Files, QDir::Time))
        if (f.lastModified() >= inizio_ && codaVuota()) return f.absoluteFilePath();
      QThread::msleep(200);
    }
    return {};
  }

  QString registro() const {
    QFile f(percorso("log/error_log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll().right(4000)) : QString();
  }

 private:
  // cups-pdf's "Out" folder for the job's owner, as its configuration sets it.
  static QString CartellaUscita() {
    QString out = "${HOME}/PDF";
    QFile conf("/etc/cups/cups-pdf.conf");
    if (conf.open(QIODevice::ReadOnly)) {
      const auto m = QRegularExpression("^Out\\s+(\\S+)", QRegularExpression::MultilineOption)
                         .match(QString::fromUtf8(conf.readAll()));
      if (m.hasMatch()) out = m.captured(1);
    }
    const passwd* pw = getpwuid(geteuid());
    return out.replace("${HOME}", pw ? pw->pw_dir : "/root")
        .replace("${USER}", pw ? pw->pw_name : "root");
  }

  bool codaVuota() const {
    QProcess lpstat;
    lpstat.setProcessEnvironment(ambiente());
    lpstat.start("lpstat", {"-o", kNome});
    return lpstat.waitForFinished(10000) && lpstat.readAllStandardOutput().trimmed().isEmpty();
  }

  QString percorso(const QString& nome) const { return radice_.filePath(nome); }
  QString socket() const { return percorso("cups.sock"); }

  QTemporaryDir radice_;
  QProcess cupsd_;
  QDateTime inizio_;
};

}  // namespace listinova::testing
