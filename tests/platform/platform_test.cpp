// The ground under the shop: where its folder is, files copied, moved and written whole, the
// one-copy lock, and the questions put to the operator.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/local_file_system.h"
#include "platform/program_folder.h"
#include "platform/qt_prompts.h"
#include "platform/single_instance.h"
#include "platform/whole_file.h"
#include "support/cartella_di_prova.h"
#include "support/disco_montato.h"
#include "support/file_helpers.h"

namespace listinova::platform {
namespace {

using testing::readAll;
using testing::writeAll;

// Sets an environment variable (unsets it for a null value) until the end of the scope.
auto variabile(const char* name, const QString& value) {
  const bool had = qEnvironmentVariableIsSet(name);
  const QByteArray old = qgetenv(name);
  value.isNull() ? qunsetenv(name) : qputenv(name, value.toLocal8Bit());
  return qScopeGuard([=] { had ? qputenv(name, old) : qunsetenv(name); });
}

// The argument beats the environment, which beats the user's data folder; each is made and
// given back absolute and clean.
TEST(ProgramFolder, WhereTheShopFolderIsAndHowWindowsPathsMapInsideIt) {
  CartellaDiProva temp;
  const auto dati = variabile("XDG_DATA_HOME", temp.file("data"));
  const auto indietro = qScopeGuard([p = QDir::currentPath()] { QDir::setCurrent(p); });
  ASSERT_TRUE(QDir::setCurrent(temp.root()));
  const struct {
    QString ambiente;
    QStringList argomenti;
    QString attesa;
  } casi[] = {
      {temp.file("env"), {"--cartella", temp.file("arg")}, temp.file("arg")},
      {temp.file("env"), {"--cartella=" + temp.file("eq")}, temp.file("eq")},
      {temp.file("env"), {"--cartella"}, temp.file("env")},  // an option without a value
      {QString(), {}, temp.file("data/listinova")},
      {QString(),
       {"--cartella", "uno/../negozio/"},
       QDir(temp.root()).canonicalPath() + "/negozio"},
  };
  for (const auto& c : casi) {
    const auto negozio = variabile("LISTINOVA_CARTELLA", c.ambiente);
    EXPECT_EQ(ProgramFolder::fromEnvironment(QStringList{"listinova"} + c.argomenti).root(),
              c.attesa);
    EXPECT_TRUE(QFileInfo(c.attesa).isDir()) << c.attesa.toStdString();
  }
  EXPECT_EQ(ProgramFolder::dovePrgPath(), temp.file("config/DovePrg.ini"));

  const ProgramFolder folder("/srv/negozio/");
  EXPECT_EQ(folder.root(), "/srv/negozio");
  EXPECT_EQ(folder.path("Dati\\DbNegozio.mdb"), "/srv/negozio/Dati/DbNegozio.mdb");
  EXPECT_EQ(folder.path("/Dati/Err\\ErrorLog.dat"), "/srv/negozio/Dati/Err/ErrorLog.dat");
  EXPECT_EQ(folder.path(""), "/srv/negozio");
}

// A failed copy or rename leaves the target as it was; removing a link leaves its target.
TEST(LocalFileSystem, CopyRenameAndRemoveNeverLoseTheTarget) {
  QTemporaryDir temp;
  const auto in = [&](const char* name) { return temp.filePath(name); };
  LocalFileSystem fs;
  ASSERT_TRUE(writeAll(in("da/a.txt"), "nuovo a") && writeAll(in("da/sub/giu/c.txt"), "c") &&
              writeAll(in("a/a.txt"), "vecchio a") && writeAll(in("a/resta.txt"), "resta"));
  ASSERT_TRUE(fs.copyFolder(in("da"), in("a")));
  EXPECT_EQ(readAll(in("a/a.txt")), "nuovo a");
  EXPECT_EQ(readAll(in("a/sub/giu/c.txt")), "c");
  EXPECT_EQ(readAll(in("a/resta.txt")), "resta");
  EXPECT_FALSE(fs.copyFolder(in("manca"), in("a")));
  QDir().mkpath(in("b/a.txt"));  // a folder where a file should go cannot be replaced
  EXPECT_FALSE(fs.copyFolder(in("da"), in("b")));
  EXPECT_FALSE(fs.copyFile(in("manca.txt"), in("a/a.txt")));
  EXPECT_EQ(readAll(in("a/a.txt")), "nuovo a");

  EXPECT_FALSE(fs.rename(in("a/a.txt"), in("a/resta.txt")));
  EXPECT_EQ(readAll(in("a/resta.txt")), "resta");
  ASSERT_TRUE(fs.rename(in("a"), in("spostata")));
  ASSERT_TRUE(QFile::link(in("spostata"), in("link")));
  EXPECT_TRUE(fs.remove(in("link")));
  EXPECT_EQ(readAll(in("spostata/resta.txt")), "resta");
  EXPECT_TRUE(fs.remove(in("spostata")));
  EXPECT_FALSE(fs.exists(in("spostata")));
  EXPECT_FALSE(fs.remove(in("manca")));
  EXPECT_EQ(fs.freeSpace(in("manca/proprio")), -1);
}

// Written beside its name and renamed in when whole: on a full disk or in a read-only folder
// the previous file stays, nothing partial is left, and the cause is told in Italian.
TEST(WholeFile, WrittenWholeOrNotAtAllWithTheCauseNamed) {
  enum class Disco { Libero, Pieno, SolaLettura };
  const std::tuple<Disco, const char*> casi[] = {{Disco::Libero, ""},
                                                 {Disco::Pieno, "Spazio su disco esaurito in"},
                                                 {Disco::SolaLettura, "in sola lettura"}};
  const QByteArray nuovo(256 * 1024, 'n');
  for (const auto& [stato, causa] : casi) {
    SCOPED_TRACE(causa);
    QTemporaryDir dir;
    testing::DiscoMontato disco(dir.filePath("disco"), 1024);
    if (!disco.montato()) GTEST_SKIP() << "serve un file system montato dal test (root)";
    const QString file = dir.filePath("disco/riepilogo.txt");
    ASSERT_TRUE(writeAll(file, "precedente"));
    if (stato == Disco::Pieno) disco.riempi(16);
    ASSERT_TRUE(stato != Disco::SolaLettura || disco.soloLettura());

    const QString guasto = writeWholeFile(file, nuovo);

    EXPECT_TRUE(*causa ? guasto.contains(causa) : guasto.isEmpty()) << guasto.toStdString();
    EXPECT_EQ(readAll(file), *causa ? QByteArray("precedente") : nuovo);
    QStringList voci =
        QDir(dir.filePath("disco")).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    voci.removeAll("riempitivo");
    EXPECT_EQ(voci, QStringList{"riepilogo.txt"});
  }
}

// Whatever a lock file left behind holds never blocks a start.
TEST(SingleInstance, OneCopyPerFolderWhateverTheLockFileHolds) {
  QTemporaryDir temp;
  const QByteArray leftovers[] = {
      "",                              // power cut before anything was written
      QByteArray(512, '\0'),           // a block of zeros from the file system
      "99999999\nlistinova\nbanco\n",  // an owner that no longer exists
      QByteArray::number(QCoreApplication::applicationPid()),  // a pid that is alive
  };
  for (const QByteArray& content : leftovers) {
    ASSERT_TRUE(writeAll(temp.filePath("listinova.lock"), content));
    SingleInstanceGuard guard(temp.path());
    EXPECT_TRUE(guard.acquired()) << content.toHex().toStdString();
    EXPECT_FALSE(SingleInstanceGuard(temp.path()).acquired()) << content.toHex().toStdString();
  }
}

// Italian captions, the default honoured; Escape is the way out.
TEST(QtPromptsTest, EachBoxInItalianWithItsDefaultAndWayOut) {
  const struct {
    Buttons buttons;
    std::optional<Answer> predefinita;
    Answer answer;  // to Return on a default, else to Escape
    QString seen;   // sorted captions, then the default
  } casi[] = {
      {Buttons::YesNo, Answer::No, Answer::No, "No Sì / No"},
      {Buttons::AbortRetryIgnore, {}, Answer::Abort, "Ignora Interrompi Riprova / Interrompi"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.seen.toStdString());
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      poll.stop();
      for (QAbstractButton* button : box->buttons()) seen << button->text();
      seen.sort();
      seen << "/" << (box->defaultButton() ? box->defaultButton()->text() : QString());
      QTest::keyClick(box, c.predefinita ? Qt::Key_Return : Qt::Key_Escape);
    });
    poll.start(5);
    EXPECT_EQ(QtPrompts().ask({"Continuare?", "Cassa", c.buttons, Icon::Question, c.predefinita}),
              c.answer);
    EXPECT_EQ(seen.join(u' '), c.seen);
  }
}

}  // namespace
}  // namespace listinova::platform
