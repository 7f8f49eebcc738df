#include <QApplication>
#include <QFileDialog>
#include <QTextStream>

#include "catalogue/magazzino.h"
#include "import/frm_importa.h"
#include "import/lavoro_importa.h"
#include "import/passa_interscambio.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "platform/qt_prompts.h"
#include "platform/qt_serial_port.h"
#include "register/ambiente_casse.h"
#include "register/lavoro_invia.h"
#include "register/reparti_finestra.h"
#include "startup/avvio.h"
#include "startup/frm_info.h"
#include "startup/frm_splash.h"
#include "startup/impostazioni.h"
#include "startup/mdi_principale.h"
#include "startup/riga_di_comando.h"
#include "startup/tabelle_collegate.h"
#include "startup/var_globali.h"
#include "startup/visualizzatore_testo.h"

namespace {

QStringList argomentiDi(int argc, char** argv) {
  QStringList argomenti;
  for (int i = 0; i < argc; ++i) argomenti << QString::fromLocal8Bit(argv[i]);
  return argomenti;
}

int lavoroSenzaFinestre(const listinova::RigaDiComando& riga, int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream uscita(stdout);
  QTextStream errori(stderr);
  return riga.esegui(app.arguments(), uscita, errori);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace listinova;
  RigaDiComando riga;
  riga.aggiungi(LavoroInvia());
  riga.aggiungi(LavoroInterscambio());
  riga.aggiungi(LavoroImporta());
  if (riga.riguarda(argomentiDi(argc, argv))) return lavoroSenzaFinestre(riga, argc, argv);

  QApplication app(argc, argv);
  app.setApplicationName("listinova");
  app.setQuitOnLastWindowClosed(false);
  const auto cartella = platform::ProgramFolder::fromEnvironment(app.arguments());
  platform::QtPrompts prompts;
  QtNotice notice;
  platform::QtClock clock;
  Avvio avvio(cartella, prompts, notice, clock);
  if (!avvio.Main()) {
    if (avvio.giaInUso())
      QTextStream(stderr) << "ATTENZIONE l'applicazione risulta già in uso (" << cartella.root()
                          << ")" << Qt::endl;
    return 0;
  }

  MdiPrincipale principale(prompts);
  VarGlobali& g = Globali();
  platform::QtSerialPort portaScanner;
  QtTextViewer visualizzatore;
  std::unique_ptr<Magazzino> magazzino;
  std::unique_ptr<CollegamentoCasse> casse;
  std::unique_ptr<Interscambio> interscambio;
  if (g.Archivio) {
    magazzino = std::make_unique<Magazzino>(
        *g.Archivio, prompts, notice, clock, [&] { return &portaScanner; }, &principale);
    casse = std::make_unique<CollegamentoCasse>(
        AmbienteCasse(prompts, notice, clock, visualizzatore), &principale);
    Magazzino* lista = magazzino.get();
    casse->setSchermo({[lista](const QString& t) { lista->mostraStato(t); },
                       [lista](const QString& n) { lista->mostraRecordAttuale(n); },
                       [lista](int n) { lista->mostraTotaleRecord(n); },
                       [](bool si) {
                         if (si)
                           QApplication::setOverrideCursor(Qt::WaitCursor);
                         else
                           QApplication::restoreOverrideCursor();
                       }});
    lista->setInviaPLU(
        [&, lista](bool soloModificati) { casse->InviaPLU(soloModificati, lista->torvane()); });
    lista->setApriReparti([&, lista] {
      Reparti finestra(
          *g.Archivio, prompts, notice,
          [&, lista](const std::function<void(bool)>& avviso) {
            casse->InviaReparti(lista->torvane(), avviso);
          },
          lista);
      finestra.exec();
    });
    lista->setImporta([&, lista] {
      return ApriImportazione(
          {*g.Archivio,
           prompts,
           clock,
           [lista](const QString& titolo, const QString& filtro) {
             return QFileDialog::getOpenFileName(lista, titolo, QString(), filtro);
           },
           g.CartellaProgramma + "/Dati",
           {}},
          [] { return true; },  // the password window (frmPswd, "TCN") is wired here
          lista);
    });
    interscambio = std::make_unique<Interscambio>(*g.Archivio, g.CartellaProgramma, clock);
    lista->setImportaInterscambio(
        [&, lista] {
          const bool importato =
              PassaInterscambio(*interscambio, g.PercorsoSetup, g.CartellaProgramma,
                                {[lista](const QString& t) { lista->mostraStato(t); }, {}});
          lista->mostraStato(QString());
          return importato;
        },
        kIntervalloInterscambioMs);
    principale.setApriMagazzino([&] {
      if (magazzino->isVisible()) {
        magazzino->raise();
        magazzino->activateWindow();
        return;
      }
      magazzino->setWindowModality(Qt::NonModal);
      magazzino->show();
    });
  }
  FrmSplash splash({
      [&] { return GestisciTabelleCollegate(g, clock); },
      [&] { SincronizzaDatabaseEsterno(*g.Archivio, clock); },
      [&] {
        principale.show();
        if (!magazzino) return;
        magazzino->setWindowModality(Qt::ApplicationModal);
        magazzino->show();
      },
  });
  splash.show();
  return app.exec();
}
