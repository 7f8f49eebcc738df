// The program as a shop runs it: a process started from the command line.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "support/qt_print.h"

namespace {

class Programma : public ::testing::Test {
 protected:
  QProcessEnvironment ambiente(bool conSchermo) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LISTINOVA_CARTELLA", dir.filePath("negozio"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    if (conSchermo)
      env.insert("QT_QPA_PLATFORM", "offscreen");
    else
      env.remove("QT_QPA_PLATFORM");
    return env;
  }
  void avvia(QProcess& p, const QStringList& argomenti, bool conSchermo) const {
    p.setProcessEnvironment(ambiente(conSchermo));
    p.start(LISTINOVA_BINARY, argomenti);
    ASSERT_TRUE(p.waitForStarted());
  }
  QTemporaryDir dir;
};

TEST_F(Programma, VersionAndHelpNeedNoDisplay) {
  QProcess versione;
  avvia(versione, {"--versione"}, false);
  ASSERT_TRUE(versione.waitForFinished(10000));
  EXPECT_EQ(versione.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(versione.readAllStandardOutput()).trimmed(), "Listinova 1.0.0");

  QProcess aiuto;
  avvia(aiuto, {"--help"}, false);
  ASSERT_TRUE(aiuto.waitForFinished(10000));
  EXPECT_EQ(aiuto.exitCode(), 0);
  const QString testo = QString::fromUtf8(aiuto.readAllStandardOutput());
  EXPECT_TRUE(testo.contains("--versione"));
  EXPECT_TRUE(testo.contains("--cartella"));

  QProcess sconosciuto;
  avvia(sconosciuto, {"--boh"}, false);
  ASSERT_TRUE(sconosciuto.waitForFinished(10000));
  EXPECT_EQ(sconosciuto.exitCode(), 2);
  EXPECT_TRUE(QString::fromUtf8(sconosciuto.readAllStandardError()).contains("--help"));
}

}  // namespace
