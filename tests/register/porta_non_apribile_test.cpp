// A register's serial port that cannot be opened is named with what to do about it: in the
// window or on the terminal (both through the prompts) and in the error log, once per job.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "platform/text_viewer.h"
#include "register/collegamento_casse.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"
#include "support/fakes.h"
#include "support/negozio_di_prova.h"
#include "support/pseudo_terminal.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

class NessunVisualizzatore : public platform::TextViewer {
 public:
  void showAndWait(const QString&) override {}
};

// The superuser opens any device: the test runs again as an unprivileged user.
void eseguiSenzaPrivilegi(const char* nomeTest) {
  const QString setpriv = QStandardPaths::findExecutable("setpriv");
  if (setpriv.isEmpty())
    GTEST_SKIP() << "come root i permessi dei dispositivi non valgono e manca setpriv";
  QProcess figlio;
  figlio.setProcessChannelMode(QProcess::MergedChannels);
  figlio.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                         QCoreApplication::applicationFilePath(),
                         QStringLiteral("--gtest_filter=PortaNonApribile.%1").arg(nomeTest)});
  ASSERT_TRUE(figlio.waitForFinished(60000));
  const QString uscita = QString::fromUtf8(figlio.readAll());
  EXPECT_EQ(figlio.exitCode(), 0) << uscita.toStdString();
  EXPECT_TRUE(uscita.contains("[  PASSED  ] 1 test")) << uscita.toStdString();
}

TEST(PortaNonApribile, PermissionAndMissingDeviceAreSaidWithWhatToDo) {
  if (::geteuid() == 0)
    return eseguiSenzaPrivilegi("PermissionAndMissingDeviceAreSaidWithWhatToDo");
  testing::PseudoTerminal terminale;
  ASSERT_TRUE(terminale.isOpen());
  const QString negata = terminale.slavePath();
  ASSERT_EQ(::chmod(QFile::encodeName(negata).constData(), 0), 0);

  testing::NegozioDiProva negozio;
  Globali().TitoloProgramma = "Listinova";
  testing::FakeClock clock;
  ErrorLog log(negozio.cartella.root(), clock);
  installaErrorLog(&log);
  testing::FakePrompts prompts;
  testing::FakeNotice notice;
  NessunVisualizzatore visualizzatore;
  CollegamentoCasse casse({*negozio.db,
                           prompts,
                           notice,
                           clock,
                           visualizzatore,
                           negozio.cartella.root(),
                           negozio.cartella.setup(),
                           {},
                           {}});

  const struct {
    QString porta;
    QString messaggio;
  } casi[] = {
      {negata, "Permesso negato sulla porta " + negata +
                   ": aggiungere l'utente al gruppo dialout e rientrare nella sessione"},
      {"/dev/ttyListinovaAssente",
       "La porta /dev/ttyListinovaAssente non esiste: controllare che il dispositivo sia "
       "collegato e la porta indicata nelle impostazioni"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.porta.toStdString());
    prompts.asked.clear();
    casse.trasporto().iniziaLavoro();
    for (int enquiry = 0; enquiry < 3; ++enquiry) casse.trasporto().cmdInitCom(caso.porta);
    EXPECT_EQ(casse.trasporto().risposta().Stato, "ERR");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, caso.messaggio);
    QFile registro(log.percorsoLog());
    ASSERT_TRUE(registro.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(registro.readAll()).contains(caso.messaggio));
  }
  installaErrorLog(nullptr);
}

}  // namespace
}  // namespace listinova
