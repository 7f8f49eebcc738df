// A register's serial port the user may not open is named with what to do about it: through
// the prompts (the window or the terminal) and in the error log, once per job.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include "platform/text_viewer.h"
#include "register/collegamento_casse.h"
#include "startup/error_log.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/pseudo_terminal.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

class NessunVisualizzatore : public platform::TextViewer {
 public:
  void showAndWait(const QString&) override {}
};

TEST(PortaNonApribile, PermissionDeniedIsSaidOnceWithWhatToDo) {
  if (::geteuid() == 0) {
    // The superuser opens any device: the test runs again as an unprivileged user.
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty())
      GTEST_SKIP() << "come root i permessi dei dispositivi non valgono e manca setpriv";
    QProcess figlio;
    figlio.setProcessChannelMode(QProcess::MergedChannels);
    figlio.start(setpriv,
                 {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                  QCoreApplication::applicationFilePath(), "--gtest_filter=PortaNonApribile.*"});
    ASSERT_TRUE(figlio.waitForFinished(60000));
    const QString uscita = QString::fromUtf8(figlio.readAll());
    EXPECT_EQ(figlio.exitCode(), 0) << uscita.toStdString();
    EXPECT_TRUE(uscita.contains("[  PASSED  ] 1 test")) << uscita.toStdString();
    return;
  }
  testing::PseudoTerminal terminale;
  ASSERT_TRUE(terminale.isOpen());
  const QString negata = terminale.slavePath();
  ASSERT_EQ(::chmod(QFile::encodeName(negata).constData(), 0), 0);
  testing::NegozioDiProva negozio;
  testing::FakeClock clock;
  ErrorLog log(negozio.cartella.root(), clock);
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  NessunVisualizzatore visualizzatore;
  auto& db = *negozio.db;
  const CartellaDiProva& cartella = negozio.cartella;
  CollegamentoCasse casse(
      {db, prompts, notice, clock, visualizzatore, cartella.root(), cartella.setup(), {}, {}});

  installaErrorLog(&log);
  casse.trasporto().iniziaLavoro();
  for (int enquiry = 0; enquiry < 3; ++enquiry) casse.trasporto().cmdInitCom(negata);
  installaErrorLog(nullptr);
  const QString messaggio = "Permesso negato sulla porta " + negata +
                            ": aggiungere l'utente al gruppo dialout e rientrare nella sessione";
  EXPECT_EQ(casse.trasporto().risposta().Stato, "ERR");
  EXPECT_EQ(testing::askedTexts(prompts), QStringList{messaggio});
  EXPECT_TRUE(QString::fromUtf8(testing::readAll(log.percorsoLog())).contains(messaggio));
}

}  // namespace
}  // namespace listinova
