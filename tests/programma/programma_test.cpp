// The program as a shop runs it: a process started from the command line.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "support/qt_print.h"

namespace {

class Programma : public ::testing::Test {
 protected:
  // No display of any kind: the command-line answers must not need one.
  void avvia(QProcess& p, const QStringList& argomenti) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LISTINOVA_CARTELLA", dir.filePath("negozio"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    for (const char* nome : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(nome);
    p.setProcessEnvironment(env);
    p.start(LISTINOVA_BINARY, argomenti);
    ASSERT_TRUE(p.waitForStarted());
  }
  QTemporaryDir dir;
};

TEST_F(Programma, VersionAndHelpNeedNoDisplay) {
  const struct {
    QStringList argomenti;
    int stato;
    QString uscita, errori;  // contained
  } casi[] = {
      {{"--versione"}, 0, "Listinova 1.0.0", ""},
      {{"--help"}, 0, "--cartella", ""},
      {{"--boh"}, 2, "", "--help"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.argomenti.join(' ').toStdString());
    QProcess p;
    avvia(p, c.argomenti);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), c.stato);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(c.uscita));
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(c.errori));
  }
}

}  // namespace
