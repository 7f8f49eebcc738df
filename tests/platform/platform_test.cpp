#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "platform/local_file_system.h"
#include "platform/program_folder.h"
#include "platform/qt_prompts.h"
#include "platform/single_instance.h"
#include "support/file_helpers.h"

namespace listinova::platform {
namespace {

using testing::readAll;

void writeFile(const QString& path, const QByteArray& content) {
  ASSERT_TRUE(testing::writeAll(path, content));
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    if (value.isNull()) {
      qunsetenv(name);
    } else {
      qputenv(name, value.toLocal8Bit());
    }
  }
  ~ScopedEnv() {
    if (had_) {
      qputenv(name_, old_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

class ProgramFolderTest : public ::testing::Test {
 protected:
  QString in(const QString& name) const { return temp_.path() + u'/' + name; }

  QTemporaryDir temp_;
  ScopedEnv dataHome_{"XDG_DATA_HOME", temp_.path() + "/data"};
  ScopedEnv configHome_{"XDG_CONFIG_HOME", temp_.path() + "/config"};
};

// The argument beats the environment, which beats the user's data folder; each is made and
// given back absolute and clean.
TEST_F(ProgramFolderTest, WhereTheShopFolderIsAndHowWindowsPathsMapInsideIt) {
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(temp_.path()));
  const struct {
    QString ambiente;
    QStringList argomenti;
    QString attesa;
  } casi[] = {
      {in("env"), {"--cartella", in("arg")}, in("arg")},
      {in("env"), {"--cartella=" + in("eq")}, in("eq")},
      {in("env"), {"--cartella"}, in("env")},  // an option without a value is ignored
      {QString(), {}, in("data/listinova")},
      {QString(),
       {"--cartella", "uno/../negozio/"},
       QDir(temp_.path()).canonicalPath() + "/negozio"},
  };
  for (const auto& c : casi) {
    ScopedEnv shop("LISTINOVA_CARTELLA", c.ambiente);
    EXPECT_EQ(ProgramFolder::fromEnvironment(QStringList{"listinova"} + c.argomenti).root(),
              c.attesa);
    EXPECT_TRUE(QFileInfo(c.attesa).isDir()) << c.attesa.toStdString();
  }
  QDir::setCurrent(previous);
  EXPECT_EQ(ProgramFolder::dovePrgPath(), in("config/DovePrg.ini"));

  const ProgramFolder folder("/srv/negozio/");
  EXPECT_EQ(folder.root(), "/srv/negozio");
  EXPECT_EQ(folder.path("Dati\\DbNegozio.mdb"), "/srv/negozio/Dati/DbNegozio.mdb");
  EXPECT_EQ(folder.path("/Dati/Err\\ErrorLog.dat"), "/srv/negozio/Dati/Err/ErrorLog.dat");
  EXPECT_EQ(folder.path(""), "/srv/negozio");
}

class LocalFileSystemTest : public ::testing::Test {
 protected:
  QString in(const QString& name) const { return temp_.path() + u'/' + name; }

  QTemporaryDir temp_;
  LocalFileSystem fs_;
};

// A failed copy or rename leaves the target as it was; removing a link leaves its target.
TEST_F(LocalFileSystemTest, CopyRenameAndRemoveNeverLoseTheTarget) {
  writeFile(in("da/a.txt"), "nuovo a");
  writeFile(in("da/sub/giu/c.txt"), "c");
  writeFile(in("a/a.txt"), "vecchio a");
  writeFile(in("a/resta.txt"), "resta");
  ASSERT_TRUE(fs_.copyFolder(in("da"), in("a")));
  EXPECT_EQ(readAll(in("a/a.txt")), "nuovo a");
  EXPECT_EQ(readAll(in("a/sub/giu/c.txt")), "c");
  EXPECT_EQ(readAll(in("a/resta.txt")), "resta");
  EXPECT_FALSE(fs_.copyFolder(in("manca"), in("a")));
  QDir().mkpath(in("b/a.txt"));  // a folder where a file should go cannot be replaced
  EXPECT_FALSE(fs_.copyFolder(in("da"), in("b")));
  EXPECT_FALSE(fs_.copyFile(in("manca.txt"), in("a/a.txt")));
  EXPECT_EQ(readAll(in("a/a.txt")), "nuovo a");

  EXPECT_FALSE(fs_.rename(in("a/a.txt"), in("a/resta.txt")));
  EXPECT_EQ(readAll(in("a/resta.txt")), "resta");
  ASSERT_TRUE(fs_.rename(in("a"), in("spostata")));
  ASSERT_TRUE(QFile::link(in("spostata"), in("link")));
  EXPECT_TRUE(fs_.remove(in("link")));
  EXPECT_EQ(readAll(in("spostata/resta.txt")), "resta");
  EXPECT_TRUE(fs_.remove(in("spostata")));
  EXPECT_FALSE(fs_.exists(in("spostata")));
  EXPECT_FALSE(fs_.remove(in("manca")));
  EXPECT_EQ(fs_.freeSpace(in("manca/proprio")), -1);
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  QString lockPath() const { return temp_.path() + "/listinova.lock"; }

  QTemporaryDir temp_;
};

TEST_F(SingleInstanceTest, WhateverAFileLeftBehindHoldsNeverBlocksAStart) {
  const QByteArray leftovers[] = {
      "",                              // power cut before anything was written
      QByteArray(512, '\0'),           // a block of zeros from the file system
      "99999999\nlistinova\nbanco\n",  // an owner that no longer exists
      QByteArray::number(QCoreApplication::applicationPid()),  // a pid that is alive
  };
  for (const QByteArray& content : leftovers) {
    writeFile(lockPath(), content);
    SingleInstanceGuard guard(temp_.path());
    EXPECT_TRUE(guard.acquired()) << content.toHex().toStdString();
    EXPECT_FALSE(SingleInstanceGuard(temp_.path()).acquired()) << content.toHex().toStdString();
  }
}

TEST_F(SingleInstanceTest, AFolderThatCannotHoldTheLockIsLockedElsewhere) {
  // A plain file where the shop folder should be: no lock file can be made in it.
  const QString notAFolder = temp_.path() + "/negozio";
  writeFile(notAFolder, "x");
  SingleInstanceGuard first(notAFolder);
  ASSERT_TRUE(first.acquired());
  EXPECT_NE(first.lockPath(), notAFolder + "/listinova.lock");
  EXPECT_FALSE(SingleInstanceGuard(notAFolder).acquired());
}

// The answer, and the box's sorted captions and default, when `act` is done on it as it shows.
Answer askAndAct(const Question& question, QStringList& seen, std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, &seen, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    for (QAbstractButton* button : box->buttons()) seen << button->text();
    seen.sort();
    seen << (box->defaultButton() ? box->defaultButton()->text() : QString());
    act(box);
  });
  poll->start();
  QtPrompts prompts;
  return prompts.ask(question);
}

// Italian captions, the default honoured; Escape is the way out.
TEST(QtPromptsTest, EachBoxInItalianWithItsDefaultAndWayOut) {
  const auto key = [](Qt::Key k) { return [k](QWidget* box) { QTest::keyClick(box, k); }; };
  const auto riprova = [](QWidget* box) {
    for (QPushButton* b : box->findChildren<QPushButton*>())
      if (b->text() == "Riprova") b->click();
  };
  const struct {
    Buttons buttons;
    std::optional<Answer> predefinita;
    std::function<void(QWidget*)> act;
    Answer answer;
    QStringList seen;  // captions, then the default
  } casi[] = {
      {Buttons::YesNo, {}, key(Qt::Key_Escape), Answer::No, {"No", "Sì", "Sì"}},
      {Buttons::YesNo, Answer::No, key(Qt::Key_Return), Answer::No, {"No", "Sì", "No"}},
      {Buttons::OkCancel, {}, key(Qt::Key_Escape), Answer::Cancel, {"Annulla", "OK", "OK"}},
      {Buttons::AbortRetryIgnore,
       {},
       riprova,
       Answer::Retry,
       {"Ignora", "Interrompi", "Riprova", "Interrompi"}},
      {Buttons::AbortRetryIgnore,
       {},
       key(Qt::Key_Escape),
       Answer::Abort,
       {"Ignora", "Interrompi", "Riprova", "Interrompi"}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.seen.join(' ').toStdString());
    QStringList seen;
    EXPECT_EQ(
        askAndAct({"Continuare?", "Cassa", c.buttons, Icon::Question, c.predefinita}, seen, c.act),
        c.answer);
    EXPECT_EQ(seen, c.seen);
  }
}

}  // namespace
}  // namespace listinova::platform
