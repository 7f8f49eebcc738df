// "listinova leggi" as a scheduled job runs it: the program and the simulator as processes of
// their own, talking over a pseudo-terminal.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "support/qt_print.h"

namespace listinova::testing {
namespace {

void scrivi(const QString& percorso, const QByteArray& testo) {
  QFile file(percorso);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(testo);
}

TEST(LavoroLeggi, ReadsUnattendedWithTheCodeAndRefusesAWrongOne) {
  QTemporaryDir dir;
  const QString negozio = dir.filePath("negozio");
  QDir().mkpath(negozio + "/Dati");
  {
    auto db = ApriDatabase(negozio + "/Dati/DbNegozio.mdb");
    auto rs = db->openRecordset("select * from Magazzino");
    rs.addNew();
    rs.setText("CodMateriale", "1");
    rs.setText("BarCode", "8001234567890");
    rs.setValue("Quantità", 10);
    rs.update();
  }
  scrivi(dir.filePath("tabella.txt"), "P/51/8001234567890/ACQUA/1/0/0.35/150.00/10.000/0/\r\n");
  scrivi(dir.filePath("venduti.txt"), "8001234567890=2500\n");

  QProcess simulatore;
  simulatore.start(LISTINOVA_SIMULATORE, {"--pty", "--tabella", dir.filePath("tabella.txt"),
                                          "--venduti", dir.filePath("venduti.txt")});
  ASSERT_TRUE(simulatore.waitForReadyRead(10000));
  const QString porta =
      QString::fromUtf8(simulatore.readLine()).trimmed().section(QStringLiteral(": "), 1);
  ASSERT_TRUE(porta.startsWith("/dev/")) << porta.toStdString();
  scrivi(negozio + "/Setup.ini", "[RegCassa]\r\nPortaCOM=" + porta.toUtf8() + "\r\n");

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LISTINOVA_CARTELLA", negozio);
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  env.remove("DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  struct Caso {
    QStringList argomenti;
    int uscita;
    const char* messaggio;  // in what the job prints
    double giacenza;
  };
  const Caso casi[] = {
      {{"leggi"}, 2, "--codice", 10},
      {{"leggi", "--codice", "korvade"}, 1, "PASSWORD ERRATA", 10},
      {{"leggi", "--codice", "KORVADE"}, 0, "Cassa 1: letta fino in fondo, righe lette 1", 7.5},
      // The same day again: the question, answered No without --ancora.
      {{"leggi", "--codice", "KORVADE"}, 1, "sono già state lette oggi alle", 7.5},
      {{"leggi", "--codice", "KORVADE", "--ancora"}, 0, "Continuare? Sì", 5},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.argomenti.join(' ').toStdString());
    QProcess lavoro;
    lavoro.setProcessEnvironment(env);
    lavoro.start(LISTINOVA_BINARY, c.argomenti);
    ASSERT_TRUE(lavoro.waitForFinished(30000));
    const QString testo = QString::fromUtf8(lavoro.readAllStandardOutput()) +
                          QString::fromUtf8(lavoro.readAllStandardError());
    EXPECT_EQ(lavoro.exitCode(), c.uscita) << testo.toStdString();
    EXPECT_TRUE(testo.contains(c.messaggio)) << testo.toStdString();
    auto db = ApriDatabase(negozio + "/Dati/DbNegozio.mdb");
    EXPECT_DOUBLE_EQ(db->openRecordset("Select Quantità from Magazzino where CodMateriale='1'")
                         .number("Quantità"),
                     c.giacenza);
    EXPECT_EQ(QFile::exists(negozio + "/PLUOstrel1.txt"), c.giacenza < 10);
  }
  simulatore.terminate();
  simulatore.waitForFinished(5000);
}

}  // namespace
}  // namespace listinova::testing
