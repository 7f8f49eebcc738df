#include <QApplication>
#include <QFileDialog>
#include <QTextStream>
#include <memory>

#include "catalogue/apri_database.h"
#include "catalogue/magazzino.h"
#include "import/frm_importa.h"
#include "import/lavoro_importa.h"
#include "import/passa_interscambio.h"
#include "platform/printers.h"
#include "platform/program_folder.h"
#include "platform/qt_clock.h"
#include "platform/qt_prompts.h"
#include "platform/qt_serial_port.h"
#include "platform/serial_devices.h"
#include "printing/finestre_etichette.h"
#include "printing/lavoro_etichette.h"
#include "printing/lavoro_report.h"
#include "printing/stampe_finestre.h"
#include "programma/frm_setup_cassa.h"
#include "programma/frm_splash.h"
#include "programma/mdi_principale.h"
#include "programma/passi_avvio.h"
#include "promotions/elenco_promozioni.h"
#include "promotions/lavoro_salva.h"
#include "promotions/promozioni_magazzino.h"
#include "register/ambiente_casse.h"
#include "register/frm_pswd.h"
#include "register/lavoro_invia.h"
#include "register/lavoro_leggi.h"
#include "register/prova_collegamento.h"
#include "register/reparti_finestra.h"
#include "register/ricezione_finestra.h"
#include "startup/avvio.h"
#include "startup/frm_info.h"
#include "startup/impostazioni.h"
#include "startup/riga_di_comando.h"
#include "startup/var_globali.h"
#include "startup/visualizzatore_testo.h"

namespace {

QStringList argomentiDi(int argc, char** argv) {
  QStringList argomenti;
  for (int i = 0; i < argc; ++i) argomenti << QString::fromLocal8Bit(argv[i]);
  return argomenti;
}

// A job without windows. Labels and reports are drawn with fonts, which need the GUI library
// even without a screen.
int lavoroSenzaFinestre(const listinova::RigaDiComando& riga, int argc, char** argv, bool disegna) {
  std::unique_ptr<QCoreApplication> app;
  if (disegna) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QTextStream uscita(stdout);
  QTextStream errori(stderr);
  return riga.esegui(app->arguments(), uscita, errori);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace listinova;
  RigaDiComando riga;
  riga.aggiungi(LavoroInvia());
  riga.aggiungi(LavoroInterscambio());
  riga.aggiungi(LavoroImporta());
  riga.aggiungi(LavoroLeggi());
  riga.aggiungi(LavoroSalva());
  riga.aggiungi(LavoroEtichette());
  riga.aggiungi(LavoroEsporta());
  riga.aggiungi(LavoroStampa());
  if (riga.riguarda(argomentiDi(argc, argv))) {
    const QStringList argomenti = argomentiDi(argc, argv);
    const bool disegna = argomenti.contains("etichette") || argomenti.contains("stampa");
    return lavoroSenzaFinestre(riga, argc, argv, disegna);
  }

  QApplication app(argc, argv);
  app.setApplicationName("listinova");
  app.setQuitOnLastWindowClosed(false);
  const auto cartella = platform::ProgramFolder::fromEnvironment(app.arguments());
  platform::QtPrompts prompts;
  QtNotice notice;
  platform::QtClock clock;
  Avvio avvio(cartella, prompts, notice, clock, ApriDatabase);
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
  platform::QtPrinters stampanti;
  std::unique_ptr<FinestreEtichette> etichette;
  std::unique_ptr<StampeConFinestre> stampe;
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
    CollegaRicezione(*lista, *casse, *g.Archivio, prompts, clock);
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
          [&, lista] { return ChiediPassword(prompts, lista); }, lista);
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
    const PannelliPromozioni promozioni = InstallaPromozioni(*lista, *g.Archivio, prompts, clock);
    InstallaManutenzione(*lista, *g.Archivio, prompts, notice, clock, g.CartellaProgramma);
    etichette = std::make_unique<FinestreEtichette>(
        *g.Archivio, prompts, stampanti,
        [lista] {
          return FiltriEtichette{lista->soloModificati(), lista->perFrontalini()};
        },
        [](QWidget* finestra) {
          return QFileDialog::getSaveFileName(finestra, QStringLiteral("Salva le etichette in PDF"),
                                              {}, QStringLiteral("PDF (*.pdf)"));
        });
    lista->setStampaFrontalino([&, lista] { etichette->stampaFrontalino(lista); });
    stampe = std::make_unique<StampeConFinestre>(*g.Archivio, prompts, notice, clock,
                                                 g.PercorsoSetup, lista);
    lista->setStampaMagazzino([&](const QString& sqlRicerca, bool soloQtaZero) {
      stampe->stampe().StampaMagazzino(sqlRicerca, soloQtaZero);
    });
    lista->setStampaVendite(
        [&](const QDate& dal, const QDate& al) { stampe->stampe().StampaVendite(dal, al); });
    promozioni.elenco->setStampa(
        [&, elenco = promozioni.elenco] { stampe->stampe().StampaElencoOfferte(elenco->righe()); });
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
  principale.setApriImpostazioni([&] {
    AmbienteSetup ambiente{prompts, stampanti, platform::serialDevices()};
    if (casse)
      ambiente.provaCollegamento = [&] { return ProvaCollegamento(casse->trasporto(), g); };
    FrmSetupCassa finestra(std::move(ambiente), g, &principale);
    finestra.exec();
    principale.aggiornaSfondo();
  });
  FrmSplash splash(PassiAvvio(g, clock, magazzino.get(), [&] {
    principale.show();
    if (!magazzino) return;
    MostraAvvisoPromozioni(*magazzino, *g.Archivio, g.PercorsoSetup, clock.now().date());
    magazzino->setWindowModality(Qt::ApplicationModal);
    magazzino->show();
  }));
  splash.show();
  return app.exec();
}
