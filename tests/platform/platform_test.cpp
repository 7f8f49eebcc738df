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

TEST_F(ProgramFolderTest, ArgumentBeatsEnvironment) {
  ScopedEnv shop("LISTINOVA_CARTELLA", in("env"));
  EXPECT_EQ(ProgramFolder::fromEnvironment({"listinova", "--cartella", in("arg")}).root(),
            in("arg"));
  EXPECT_EQ(ProgramFolder::fromEnvironment({"listinova", "--cartella=" + in("eq")}).root(),
            in("eq"));
  EXPECT_TRUE(QFileInfo(in("arg")).isDir());
  EXPECT_TRUE(QFileInfo(in("eq")).isDir());
  // An option without a value is ignored.
  EXPECT_EQ(ProgramFolder::fromEnvironment({"listinova", "--cartella"}).root(), in("env"));
}

TEST_F(ProgramFolderTest, EnvironmentBeatsDefault) {
  ScopedEnv shop("LISTINOVA_CARTELLA", in("env/negozio"));
  EXPECT_EQ(ProgramFolder::fromEnvironment({"listinova"}).root(), in("env/negozio"));
  EXPECT_TRUE(QFileInfo(in("env/negozio")).isDir());
}

TEST_F(ProgramFolderTest, DefaultIsTheUsersDataFolder) {
  ScopedEnv shop("LISTINOVA_CARTELLA", QString());
  EXPECT_EQ(ProgramFolder::fromEnvironment({"listinova"}).root(), in("data/listinova"));
  EXPECT_TRUE(QFileInfo(in("data/listinova")).isDir());
}

TEST_F(ProgramFolderTest, RelativeFolderBecomesAbsoluteAndClean) {
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(temp_.path()));
  const QString root =
      ProgramFolder::fromEnvironment({"listinova", "--cartella", "uno/../negozio/"}).root();
  QDir::setCurrent(previous);
  EXPECT_EQ(root, QDir(temp_.path()).canonicalPath() + "/negozio");
}

TEST_F(ProgramFolderTest, WindowsPathsMapInsideTheShopFolder) {
  const ProgramFolder folder("/srv/negozio/");
  EXPECT_EQ(folder.root(), "/srv/negozio");
  EXPECT_EQ(folder.path("Dati\\DbNegozio.mdb"), "/srv/negozio/Dati/DbNegozio.mdb");
  EXPECT_EQ(folder.path("\\FilePLU1.txt"), "/srv/negozio/FilePLU1.txt");
  EXPECT_EQ(folder.path("/Dati/Err\\ErrorLog.dat"), "/srv/negozio/Dati/Err/ErrorLog.dat");
  EXPECT_EQ(folder.path(""), "/srv/negozio");
}

TEST_F(ProgramFolderTest, DovePrgLivesInTheConfigurationFolder) {
  EXPECT_EQ(ProgramFolder::dovePrgPath(), in("config/DovePrg.ini"));
}

class LocalFileSystemTest : public ::testing::Test {
 protected:
  QString in(const QString& name) const { return temp_.path() + u'/' + name; }

  QTemporaryDir temp_;
  LocalFileSystem fs_;
};

TEST_F(LocalFileSystemTest, CopyFolderCopiesANestedTreeReplacingFiles) {
  writeFile(in("da/a.txt"), "nuovo a");
  writeFile(in("da/sub/b.txt"), "b");
  writeFile(in("da/sub/piu/giu/c.txt"), "c");
  QDir().mkpath(in("da/vuota"));
  writeFile(in("a/a.txt"), "vecchio a");
  writeFile(in("a/resta.txt"), "resta");

  ASSERT_TRUE(fs_.copyFolder(in("da"), in("a")));
  EXPECT_EQ(readAll(in("a/a.txt")), "nuovo a");
  EXPECT_EQ(readAll(in("a/sub/b.txt")), "b");
  EXPECT_EQ(readAll(in("a/sub/piu/giu/c.txt")), "c");
  EXPECT_TRUE(fs_.isFolder(in("a/vuota")));
  EXPECT_EQ(readAll(in("a/resta.txt")), "resta");
  EXPECT_EQ(readAll(in("da/a.txt")), "nuovo a");
  ASSERT_TRUE(fs_.copyFolder(in("da"), in("x/y/z")));
  EXPECT_EQ(readAll(in("x/y/z/a.txt")), "nuovo a");
}

TEST_F(LocalFileSystemTest, CopyFolderFails) {
  EXPECT_FALSE(fs_.copyFolder(in("manca"), in("a")));
  // A folder where a file should go cannot be replaced.
  writeFile(in("da/a.txt"), "a");
  QDir().mkpath(in("a/a.txt"));
  EXPECT_FALSE(fs_.copyFolder(in("da"), in("a")));
}

TEST_F(LocalFileSystemTest, CopyFileReplacesTheTarget) {
  writeFile(in("uno.txt"), "uno");
  writeFile(in("due.txt"), "due");
  ASSERT_TRUE(fs_.copyFile(in("uno.txt"), in("due.txt")));
  EXPECT_EQ(readAll(in("due.txt")), "uno");
  EXPECT_FALSE(fs_.copyFile(in("manca.txt"), in("due.txt")));
  EXPECT_EQ(readAll(in("due.txt")), "uno");
}

TEST_F(LocalFileSystemTest, RenameFilesAndFoldersButNeverOverwrite) {
  writeFile(in("vecchio.txt"), "v");
  writeFile(in("altro.txt"), "a");
  ASSERT_TRUE(fs_.rename(in("vecchio.txt"), in("nuovo.txt")));
  EXPECT_FALSE(fs_.exists(in("vecchio.txt")));
  EXPECT_EQ(readAll(in("nuovo.txt")), "v");

  EXPECT_FALSE(fs_.rename(in("nuovo.txt"), in("altro.txt")));
  EXPECT_EQ(readAll(in("altro.txt")), "a");

  writeFile(in("cartella/dentro.txt"), "d");
  ASSERT_TRUE(fs_.rename(in("cartella"), in("spostata")));
  EXPECT_EQ(readAll(in("spostata/dentro.txt")), "d");
}

TEST_F(LocalFileSystemTest, RemoveFilesAndWholeFolders) {
  writeFile(in("f.txt"), "f");
  writeFile(in("c/d/e.txt"), "e");
  EXPECT_TRUE(fs_.remove(in("f.txt")));
  EXPECT_TRUE(fs_.remove(in("c")));
  EXPECT_FALSE(fs_.exists(in("f.txt")));
  EXPECT_FALSE(fs_.exists(in("c")));
  EXPECT_FALSE(fs_.remove(in("manca")));
}

TEST_F(LocalFileSystemTest, RemovingALinkLeavesWhatItPointsTo) {
  writeFile(in("vero/tieni.txt"), "t");
  ASSERT_TRUE(QFile::link(in("vero"), in("link")));
  EXPECT_TRUE(fs_.remove(in("link")));
  EXPECT_EQ(readAll(in("vero/tieni.txt")), "t");
}

TEST_F(LocalFileSystemTest, SizesFoldersAndSpace) {
  writeFile(in("cinque.txt"), "12345");
  EXPECT_EQ(fs_.size(in("cinque.txt")), 5);
  EXPECT_EQ(fs_.size(in("manca.txt")), -1);
  EXPECT_TRUE(fs_.exists(in("cinque.txt")));
  EXPECT_FALSE(fs_.isFolder(in("cinque.txt")));

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

TEST_F(SingleInstanceTest, SecondCopyOnTheSameFolderIsRefused) {
  auto first = std::make_unique<SingleInstanceGuard>(temp_.path());
  ASSERT_TRUE(first->acquired());
  EXPECT_EQ(first->lockPath(), lockPath());
  EXPECT_FALSE(SingleInstanceGuard(temp_.path()).acquired());

  first.reset();
  // The file stays behind, as after a power cut; only the lock went with its holder.
  EXPECT_TRUE(QFile::exists(lockPath()));
  EXPECT_TRUE(SingleInstanceGuard(temp_.path()).acquired());
}

TEST_F(SingleInstanceTest, LongRunningCopyKeepsItsLock) {
  SingleInstanceGuard running(temp_.path());
  ASSERT_TRUE(running.acquired());
  QFile lock(lockPath());
  ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
  ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-3),
                               QFileDevice::FileModificationTime));
  lock.close();
  EXPECT_FALSE(SingleInstanceGuard(temp_.path()).acquired());
}

TEST_F(SingleInstanceTest, OtherFoldersAreIndependent) {
  QTemporaryDir other;
  SingleInstanceGuard first(temp_.path());
  SingleInstanceGuard second(other.path());
  EXPECT_TRUE(first.acquired());
  EXPECT_TRUE(second.acquired());
}

TEST_F(SingleInstanceTest, WhateverAFileLeftBehindHoldsNeverBlocksAStart) {
  const QByteArray leftovers[] = {
      "",                              // power cut before anything was written
      QByteArray(512, '\0'),           // a block of zeros from the file system
      "99999999\nlistinova\nbanco\n",  // an owner that no longer exists
      QByteArray::number(QCoreApplication::applicationPid()),  // a pid that is alive
      "garbuglio \xff\xfe senza senso",
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

void pressEscape(QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }
void pressEnter(QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }

TEST(QtPromptsTest, YesNoBoxInItalianClosingAsNo) {
  SeenBox seen;
  const Answer answer = askAndAct(
      {"Eliminare l'articolo?", "Archivio", Buttons::YesNo, Icon::Question, {}}, seen, pressEscape);
  EXPECT_EQ(answer, Answer::No);
  EXPECT_EQ(seen.title, "Archivio");
  EXPECT_EQ(seen.text, "Eliminare l'articolo?");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.captions, QStringList({"No", "Sì"}));
  EXPECT_EQ(seen.focused, "Sì");
}

TEST(QtPromptsTest, DefaultButtonIsHonoured) {
  SeenBox seen;
  const Answer answer = askAndAct(
      {"Continuare?", "Cassa", Buttons::YesNo, Icon::Exclamation, Answer::No}, seen, pressEnter);
  EXPECT_EQ(seen.focused, "No");
  EXPECT_EQ(answer, Answer::No);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

TEST(QtPromptsTest, OkCancelAndOkOnlyBoxes) {
  SeenBox seen;
  EXPECT_EQ(
      askAndAct({"Salvare?", "T", Buttons::OkCancel, Icon::Information, {}}, seen, pressEnter),
      Answer::Ok);
  EXPECT_EQ(seen.captions, QStringList({"Annulla", "OK"}));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_EQ(askAndAct({"Salvare?", "T", Buttons::OkCancel, Icon::None, {}}, seen, pressEscape),
            Answer::Cancel);
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(askAndAct({"Fatto", "T", Buttons::Ok, Icon::None, {}}, seen, pressEscape), Answer::Ok);
  EXPECT_EQ(seen.captions, QStringList({"OK"}));
}

TEST(QtPromptsTest, AbortRetryIgnoreBox) {
  SeenBox seen;
  const Question question{
      "Stampante non pronta", "Stampa", Buttons::AbortRetryIgnore, Icon::Critical, {}};
  EXPECT_EQ(askAndAct(question, seen, [](QWidget* box) { clickButton(box, "Riprova"); }),
            Answer::Retry);
  EXPECT_EQ(seen.captions, QStringList({"Ignora", "Interrompi", "Riprova"}));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(askAndAct(question, seen, [](QWidget* box) { clickButton(box, "Ignora"); }),
            Answer::Ignore);
  EXPECT_EQ(askAndAct(question, seen, pressEscape), Answer::Abort);
}

TEST(QtPromptsTest, InputReturnsTheTextOrNothingWhenCancelled) {
  QStringList captions;
  QString shownLabel;
  QString shownInitial;
  whenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    shownLabel = dialog->labelText();
    shownInitial = dialog->findChild<QLineEdit*>()->text();
    for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
      captions << button->text();
    dialog->findChild<QLineEdit*>()->setText("12,50");
    clickButton(dialog, "OK");
  });
  QtPrompts prompts;
  EXPECT_EQ(prompts.input("Prezzo:", "Variazione", "10,00"), std::optional<QString>("12,50"));
  EXPECT_EQ(shownLabel, "Prezzo:");
  EXPECT_EQ(shownInitial, "10,00");
  captions.sort();
  EXPECT_EQ(captions, QStringList({"Annulla", "OK"}));

  whenModalAppears([](QWidget* modal) { clickButton(modal, "Annulla"); });
  EXPECT_EQ(prompts.input("Prezzo:", "Variazione"), std::nullopt);
}

}  // namespace
}  // namespace listinova::platform
