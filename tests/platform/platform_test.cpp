#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "platform/local_file_system.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
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

TEST_F(LocalFileSystemTest, CopiesReplaceFilesAndFailWithoutLosingTheTarget) {
  writeFile(in("da/a.txt"), "nuovo a");
  writeFile(in("da/sub/piu/giu/c.txt"), "c");
  QDir().mkpath(in("da/vuota"));
  writeFile(in("a/a.txt"), "vecchio a");
  writeFile(in("a/resta.txt"), "resta");
  ASSERT_TRUE(fs_.copyFolder(in("da"), in("a")));
  EXPECT_EQ(readAll(in("a/a.txt")), "nuovo a");
  EXPECT_EQ(readAll(in("a/sub/piu/giu/c.txt")), "c");
  EXPECT_TRUE(fs_.isFolder(in("a/vuota")));
  EXPECT_EQ(readAll(in("a/resta.txt")), "resta");
  ASSERT_TRUE(fs_.copyFolder(in("da"), in("x/y/z")));
  EXPECT_EQ(readAll(in("x/y/z/a.txt")), "nuovo a");
  EXPECT_FALSE(fs_.copyFolder(in("manca"), in("a")));
  QDir().mkpath(in("b/a.txt"));  // a folder where a file should go cannot be replaced
  EXPECT_FALSE(fs_.copyFolder(in("da"), in("b")));

  ASSERT_TRUE(fs_.copyFile(in("a/resta.txt"), in("a/a.txt")));
  EXPECT_EQ(readAll(in("a/a.txt")), "resta");
  EXPECT_FALSE(fs_.copyFile(in("manca.txt"), in("a/a.txt")));
  EXPECT_EQ(readAll(in("a/a.txt")), "resta");
}

TEST_F(LocalFileSystemTest, RenameNeverOverwritesAndRemoveLeavesWhatALinkPointsTo) {
  writeFile(in("vecchio.txt"), "v");
  writeFile(in("altro.txt"), "a");
  writeFile(in("cartella/dentro.txt"), "d");
  ASSERT_TRUE(fs_.rename(in("vecchio.txt"), in("nuovo.txt")));
  EXPECT_FALSE(fs_.exists(in("vecchio.txt")));
  EXPECT_FALSE(fs_.rename(in("nuovo.txt"), in("altro.txt")));
  EXPECT_EQ(readAll(in("altro.txt")), "a");
  ASSERT_TRUE(fs_.rename(in("cartella"), in("spostata")));
  EXPECT_EQ(readAll(in("spostata/dentro.txt")), "d");

  ASSERT_TRUE(QFile::link(in("spostata"), in("link")));
  EXPECT_TRUE(fs_.remove(in("link")));
  EXPECT_EQ(readAll(in("spostata/dentro.txt")), "d");
  EXPECT_TRUE(fs_.remove(in("spostata")));
  EXPECT_FALSE(fs_.exists(in("spostata")));
  EXPECT_FALSE(fs_.remove(in("manca")));

  EXPECT_EQ(fs_.size(in("altro.txt")), 1);
  EXPECT_EQ(fs_.size(in("manca.txt")), -1);
  ASSERT_TRUE(fs_.makeFolder(in("a/b/c")));
  EXPECT_TRUE(fs_.isFolder(in("a/b/c")));
  EXPECT_GT(fs_.freeSpace(temp_.path()), 0);
  EXPECT_EQ(fs_.freeSpace(in("manca/proprio")), -1);
}

TEST(QtClockTest, WaitReturnsOnlyAfterTimersDueBeforeItsEnd) {
  QtClock clock;
  bool fired = false;
  QTimer::singleShot(20, [&fired] { fired = true; });
  clock.wait(200);
  EXPECT_TRUE(fired);
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  QString lockPath() const { return temp_.path() + "/listinova.lock"; }

  QTemporaryDir temp_;
};

TEST_F(SingleInstanceTest, SecondCopyOnTheSameFolderIsRefusedHoweverLongTheFirstRuns) {
  auto first = std::make_unique<SingleInstanceGuard>(temp_.path());
  ASSERT_TRUE(first->acquired());
  EXPECT_EQ(first->lockPath(), lockPath());
  QFile lock(lockPath());
  ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
  ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-3),
                               QFileDevice::FileModificationTime));
  lock.close();
  EXPECT_FALSE(SingleInstanceGuard(temp_.path()).acquired());
  QTemporaryDir other;
  EXPECT_TRUE(SingleInstanceGuard(other.path()).acquired());

  first.reset();
  // The file stays behind, as after a power cut; only the lock went with its holder.
  EXPECT_TRUE(QFile::exists(lockPath()));
  EXPECT_TRUE(SingleInstanceGuard(temp_.path()).acquired());
}

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

// Acts on the modal window as soon as it is up.
void whenModalAppears(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(modal);
  });
  poll->start();
}

QStringList captionsOf(QMessageBox* box) {
  QStringList captions;
  for (QAbstractButton* button : box->buttons()) captions << button->text();
  captions.sort();
  return captions;
}

void clickButton(QWidget* window, const QString& caption) {
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == caption) return button->click();
  }
  ADD_FAILURE() << "no button " << caption.toStdString();
}

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList captions;
  QString focused;
};

// The answer, and the box as it was shown, when `act` is done on it.
Answer askAndAct(const Question& question, SeenBox& seen, std::function<void(QWidget*)> act) {
  whenModalAppears([&seen, act](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "not a message box";
      return;
    }
    seen = {box->windowTitle(), box->text(), box->icon(), captionsOf(box),
            box->defaultButton() ? box->defaultButton()->text() : QString()};
    act(box);
  });
  QtPrompts prompts;
  return prompts.ask(question);
}

// Italian captions, the icon asked for, the default honoured; Escape is the way out.
TEST(QtPromptsTest, EachBoxInItalianWithItsDefaultAndWayOut) {
  const auto escape = [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); };
  const auto enter = [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); };
  const auto click = [](const char* caption) {
    return [caption](QWidget* box) { clickButton(box, caption); };
  };
  const struct {
    Question question;
    std::function<void(QWidget*)> act;
    Answer answer;
    QStringList captions;
    QMessageBox::Icon icon;
    QString focused;
  } casi[] = {
      {{"Eliminare?", "Archivio", Buttons::YesNo, Icon::Question, {}},
       escape,
       Answer::No,
       {"No", "Sì"},
       QMessageBox::Question,
       "Sì"},
      {{"Continuare?", "Cassa", Buttons::YesNo, Icon::Exclamation, Answer::No},
       enter,
       Answer::No,
       {"No", "Sì"},
       QMessageBox::Warning,
       "No"},
      {{"Salvare?", "T", Buttons::OkCancel, Icon::Information, {}},
       enter,
       Answer::Ok,
       {"Annulla", "OK"},
       QMessageBox::Information,
       "OK"},
      {{"Salvare?", "T", Buttons::OkCancel, Icon::None, {}},
       escape,
       Answer::Cancel,
       {"Annulla", "OK"},
       QMessageBox::NoIcon,
       "OK"},
      {{"Fatto", "T", Buttons::Ok, Icon::None, {}},
       escape,
       Answer::Ok,
       {"OK"},
       QMessageBox::NoIcon,
       "OK"},
      {{"Non pronta", "Stampa", Buttons::AbortRetryIgnore, Icon::Critical, {}},
       click("Riprova"),
       Answer::Retry,
       {"Ignora", "Interrompi", "Riprova"},
       QMessageBox::Critical,
       "Interrompi"},
      {{"Non pronta", "Stampa", Buttons::AbortRetryIgnore, Icon::Critical, {}},
       click("Ignora"),
       Answer::Ignore,
       {"Ignora", "Interrompi", "Riprova"},
       QMessageBox::Critical,
       "Interrompi"},
      {{"Non pronta", "Stampa", Buttons::AbortRetryIgnore, Icon::Critical, {}},
       escape,
       Answer::Abort,
       {"Ignora", "Interrompi", "Riprova"},
       QMessageBox::Critical,
       "Interrompi"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.captions.join(' ').toStdString() + " " + c.question.title.toStdString());
    SeenBox seen;
    EXPECT_EQ(askAndAct(c.question, seen, c.act), c.answer);
    EXPECT_EQ(seen.title, c.question.title);
    EXPECT_EQ(seen.text, c.question.text);
    EXPECT_EQ(seen.captions, c.captions);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.focused, c.focused);
  }
}

TEST(QtPromptsTest, InputReturnsTheTextOrNothingWhenCancelled) {
  QString shown;
  whenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    shown = dialog->labelText() + " " + dialog->findChild<QLineEdit*>()->text();
    dialog->findChild<QLineEdit*>()->setText("12,50");
    clickButton(dialog, "OK");
  });
  QtPrompts prompts;
  EXPECT_EQ(prompts.input("Prezzo:", "Variazione", "10,00"), std::optional<QString>("12,50"));
  EXPECT_EQ(shown, "Prezzo: 10,00");
  whenModalAppears([](QWidget* modal) { clickButton(modal, "Annulla"); });
  EXPECT_EQ(prompts.input("Prezzo:", "Variazione"), std::nullopt);
}

}  // namespace
}  // namespace listinova::platform
