// The scheduled jobs: the program itself, run without windows on a fresh shop folder.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "printing/lettore_xlsx.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

struct Esito {
  int codice = -1;
  QString uscita;
};

Esito esegui(const QTemporaryDir& dir, QStringList argomenti) {
  QProcess programma;
  QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
  ambiente.insert("HOME", dir.path());
  ambiente.insert("XDG_CONFIG_HOME", dir.filePath(".config"));
  ambiente.insert("QT_QPA_PLATFORM", "offscreen");
  programma.setProcessEnvironment(ambiente);
  programma.setProcessChannelMode(QProcess::MergedChannels);
  programma.setStandardInputFile(QProcess::nullDevice());
  argomenti << "--cartella" << dir.filePath("negozio");
  programma.start(LISTINOVA_BINARY, argomenti);
  if (!programma.waitForFinished(120000)) return {};
  return {programma.exitCode(), QString::fromUtf8(programma.readAll())};
}

TEST(LavoriReport, WorkbooksAndPdfWithoutWindows) {
  QTemporaryDir dir;
  struct Caso {
    QStringList argomenti;
    int codice;
    QString file;  // written when the job succeeds
  };
  const Caso casi[] = {
      {{"esporta", "magazzino", dir.filePath("mag")}, 0, dir.filePath("mag.xlsx")},
      {{"esporta", "vendite", "--dal", "01/01/2026", "--al", "31/12/2026", dir.filePath("v.xlsx")},
       0,
       dir.filePath("v.xlsx")},
      {{"esporta", "vendite", dir.filePath("senza_periodo.xlsx")}, 2, {}},
      {{"esporta", "listino", dir.filePath("x.xlsx")}, 2, {}},
      {{"stampa", "magazzino", dir.filePath("mag.pdf")}, 0, dir.filePath("mag.pdf")},
      {{"stampa", "magazzino", dir.filePath("manca/mag.pdf")}, 1, {}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.argomenti.join(' ').toStdString());
    const Esito esito = esegui(dir, caso.argomenti);
    EXPECT_EQ(esito.codice, caso.codice) << esito.uscita.toStdString();
    if (caso.file.isEmpty()) continue;
    EXPECT_TRUE(QFile::exists(caso.file));
    if (caso.file.endsWith(".xlsx")) {
      const auto fogli = testing::LeggiXlsx(caso.file);
      ASSERT_TRUE(fogli.has_value());
      EXPECT_EQ(fogli->size(), caso.argomenti[1] == "magazzino" ? 2u : 1u);
    }
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("senza_periodo.xlsx")));
}

}  // namespace
}  // namespace listinova
