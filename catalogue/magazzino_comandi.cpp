// The product list's command row: the boxes of buttons whose work belongs to other subsystems,
// the hooks that give them that work, and the status of the jobs they run.
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "catalogue/magazzino.h"
#include "catalogue/magazzino_comune.h"
#include "startup/filtro_tasti.h"
#include "startup/var_globali.h"
#include "touch/frm_tastiera.h"

namespace listinova {

using namespace magazzino_comune;

namespace {

// A button's old hook goes; it is enabled, with its help text, only when a new one is given.
bool preparaPulsante(QPushButton* pulsante, const QObject* finestra, bool presente,
                     const QString& aiuto) {
  pulsante->disconnect(finestra);
  pulsante->setEnabled(presente);
  pulsante->setToolTip(presente ? aiuto : QString::fromUtf8(kProssimaVersione));
  return presente;
}

}  // namespace

QWidget* Magazzino::costruisciComandi() {
  auto* riga = new QWidget;
  auto* layout = new QHBoxLayout(riga);
  layout->setContentsMargins(0, 0, 0, 0);

  ckModificati_ = new QCheckBox(QStringLiteral("Invio PLU Modificati"));
  ckModificati_->setObjectName("ckModificati");
  cmdSegnaModificati_ = pulsante("cmdSegnaModificati", QStringLiteral("Segna tutti modificati"));
  cmdInviaPLU_ = prossimaVersione("cmdInviaPLU", QStringLiteral("Invia PLU  >>>"));
  lblRecAct_ = contatore("lblRecAct");
  lblRecTot_ = contatore("lblRecTot");
  auto* record = new QWidget;
  auto* righeRecord = new QHBoxLayout(record);
  righeRecord->setContentsMargins(0, 0, 0, 0);
  righeRecord->addWidget(new QLabel(QStringLiteral("Record")));
  righeRecord->addWidget(lblRecAct_);
  righeRecord->addWidget(new QLabel(QStringLiteral("di")));
  righeRecord->addWidget(lblRecTot_);
  cmdRiceviPLU_ = prossimaVersione("cmdLeggiPLU", QStringLiteral("Leggi PLU  <<<"));
  cmdGeneraFile_ = prossimaVersione("cmdGeneraFile", QStringLiteral("&Genera File Dati"));
  ProgressBar1_ = new QProgressBar;
  ProgressBar1_->setObjectName("ProgressBar1");
  ProgressBar1_->hide();
  layout->addWidget(
      riquadro(QStringLiteral("Casse"), {cmdInviaPLU_, record, cmdRiceviPLU_, cmdGeneraFile_,
                                         ProgressBar1_, ckModificati_, cmdSegnaModificati_}));

  auto* date = new QWidget;
  auto* righeDate = new QGridLayout(date);
  righeDate->setContentsMargins(0, 0, 0, 0);
  dal_ = new QDateEdit;
  dal_->setObjectName("dal");
  al_ = new QDateEdit;
  al_->setObjectName("al");
  int r = 0;
  for (QDateEdit* data : {dal_, al_}) {
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    data->setCalendarPopup(true);
    data->setEnabled(false);
    data->setToolTip(kProssimaVersione);
    righeDate->addWidget(new QLabel(r == 0 ? QStringLiteral("dal") : QStringLiteral("al")), r, 0);
    righeDate->addWidget(data, r++, 1);
  }
  layout->addWidget(riquadro(
      QStringLiteral("Offerte"),
      {cmdPromozioni_ = prossimaVersione("cmdPromozioni", QStringLiteral("PROMOZIONI")), date}));

  cmdAdeguaCodici_ = pulsante("cmdAdeguaCodici", QStringLiteral("Adegua BC"));
  layout->addWidget(riquadro(
      QStringLiteral("Archivio"),
      {Generi_ = prossimaVersione("Generi", QStringLiteral("&Reparti")), cmdAdeguaCodici_,
       cmdImporta_ = prossimaVersione("cmdImporta", QStringLiteral("&Importa da FileDati"))}));

  txtQtaPredef_ = new QLineEdit;
  txtQtaPredef_->setObjectName("txtQtaPredef");
  txtQtaPredef_->setMaximumWidth(70);
  txtQtaPredef_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
  txtQtaPredef_->setToolTip(QStringLiteral("Quantità da dare a tutti i prodotti"));
  FiltroTasti::applica(txtQtaPredef_, 1);
  if (Globali().TastieraVisibile) TastieraAlTocco(txtQtaPredef_, kModoNumero, notice_);
  cmdAggiornaQta_ = prossimaVersione("cmdAggiornaQta", QStringLiteral("Applica"));
  auto* quantita = new QWidget;
  auto* rigaQuantita = new QHBoxLayout(quantita);
  rigaQuantita->setContentsMargins(0, 0, 0, 0);
  rigaQuantita->addWidget(txtQtaPredef_);
  rigaQuantita->addWidget(cmdAggiornaQta_);
  cmdSalva_ = prossimaVersione("cmdSalva", QStringLiteral("&Salva Dati"));
  cmdCambiaDb_ = prossimaVersione("cmdCambiaDb", QStringLiteral("Cambia &Dati"));
  layout->addWidget(riquadro(QStringLiteral("Manutenzione"), {cmdSalva_, cmdCambiaDb_, quantita}));

  ckPerFrontalini_ = new QCheckBox(QStringLiteral("x Frontalini"));
  ckPerFrontalini_->setObjectName("ckPerFrontalini");
  layout->addWidget(
      riquadro(QStringLiteral("Stampe"),
               {cmdStampaMagazzino_ =
                    prossimaVersione("cmdStampaMagazzino", QStringLiteral("Stampa Esporta")),
                cmdStampaVPLU_ = prossimaVersione("cmdStampa", QStringLiteral("Stampa")),
                cmdStampaFrontalino_ =
                    prossimaVersione("cmdStampaFrontalino", QStringLiteral("Stampa Front.")),
                ckPerFrontalini_}));
  layout->addStretch();

  Aggiungi_ = pulsante("Aggiungi", QStringLiteral("&Nuovo"));
  Modifica_ = pulsante("Modifica", QStringLiteral("&Modifica"));
  Elimina_ = pulsante("Elimina", QStringLiteral("&Elimina"));
  CmdUscita_ = pulsante("CmdUscita", QStringLiteral("Esci"));
  // "Esci" under the product's box rather than beside it: the row fits a 1024-pixel screen.
  auto* uscita = new QVBoxLayout;
  uscita->addWidget(riquadro(QStringLiteral("Prodotto"), {Aggiungi_, Modifica_, Elimina_}));
  uscita->addStretch();
  uscita->addWidget(CmdUscita_);
  layout->addLayout(uscita);
  return riga;
}

bool Magazzino::soloModificati() const { return ckModificati_->isChecked(); }

void Magazzino::setInviaPLU(std::function<void(bool soloModificati)> invia) {
  if (!preparaPulsante(cmdInviaPLU_, this, static_cast<bool>(invia),
                       QStringLiteral("Invia i prodotti alle casse configurate")))
    return;
  connect(cmdInviaPLU_, &QPushButton::clicked, this, [this, invia] {
    comando("cmdInviaPLU_Click", [this, invia] {
      // The banner asks for a send: once the operator has sent, it has done its work.
      mostraAvviso(QString(), 0);
      invia(soloModificati());
      CmdCerca_Click();
    });
  });
}

void Magazzino::setStampaMagazzino(
    std::function<void(const QString& sqlRicerca, bool soloQtaZero)> stampa) {
  if (!preparaPulsante(cmdStampaMagazzino_, this, static_cast<bool>(stampa),
                       QStringLiteral("Stampa o esporta le giacenze dei prodotti cercati")))
    return;
  connect(cmdStampaMagazzino_, &QPushButton::clicked, this, [this, stampa] {
    comando("cmdStampaMagazzino_Click", [this, stampa] {
      const CriteriRicerca ricerca = criteri();
      stampa(IstruzioneRicerca(ricerca), ricerca.opzione == 4);
    });
  });
}

void Magazzino::setApriReparti(std::function<void()> apri) {
  if (!preparaPulsante(Generi_, this, static_cast<bool>(apri),
                       QStringLiteral("Gestione dei reparti della cassa")))
    return;
  connect(Generi_, &QPushButton::clicked, this, [this, apri] {
    comando("Generi_Click", [this, apri] {
      apri();
      CaricaCboGeneri();
    });
  });
}

void Magazzino::setRiceviPLU(std::function<void()> ricevi) {
  if (!preparaPulsante(cmdRiceviPLU_, this, static_cast<bool>(ricevi),
                       QStringLiteral("Legge dalle casse le quantità vendute")))
    return;
  connect(cmdRiceviPLU_, &QPushButton::clicked, this, [this, ricevi] {
    comando("cmdRiceviPLU_Click", [this, ricevi] {
      ricevi();
      CmdCerca_Click();
    });
  });
}

void Magazzino::setGeneraFile(std::function<void()> genera) {
  if (!preparaPulsante(cmdGeneraFile_, this, static_cast<bool>(genera),
                       QStringLiteral("Scrive su file la tabella PLU delle casse")))
    return;
  connect(cmdGeneraFile_, &QPushButton::clicked, this,
          [this, genera] { comando("cmdGeneraFile_Click", genera); });
}

void Magazzino::mostraAvanzamento(int valore, int massimo) {
  ProgressBar1_->setVisible(massimo > 0);
  ProgressBar1_->setMaximum(qMax(massimo, 1));
  ProgressBar1_->setValue(qMin(valore, qMax(massimo, 1)));
}

void Magazzino::setPromozioni(std::function<void()> apri) {
  if (!preparaPulsante(cmdPromozioni_, this, static_cast<bool>(apri),
                       QStringLiteral("Offerta del prodotto selezionato")))
    return;
  connect(cmdPromozioni_, &QPushButton::clicked, this, [this, apri] {
    // The offer is for the product selected in the grid: only from the products' tab.
    if (schede_->currentIndex() != 0) return;
    try {
      apri();
    } catch (const std::exception& errore) {
      registraErrore("cmdPromozioni_Click", errore);
    }
  });
}

void Magazzino::setManutenzione(Manutenzione manutenzione) {
  if (preparaPulsante(cmdAggiornaQta_, this, static_cast<bool>(manutenzione.applicaQuantita),
                      QStringLiteral("Dà a tutti i prodotti la quantità indicata")))
    connect(cmdAggiornaQta_, &QPushButton::clicked, this,
            [this, applica = manutenzione.applicaQuantita] {
              comando("cmdAggiornaQta_Click", [this, &applica] {
                if (applica(txtQtaPredef_->text()))
                  CaricaMagazzino(QStringLiteral("Select * from magazzino"), false);
              });
            });
  if (preparaPulsante(cmdSalva_, this, static_cast<bool>(manutenzione.salvaDati),
                      QStringLiteral("Copia la cartella dei dati in una cartella a scelta")))
    connect(cmdSalva_, &QPushButton::clicked, this, [this, salva = manutenzione.salvaDati] {
      comando("cmdSalva_Click", [&salva] {
        PuntatoreOccupato occupato;
        salva();
      });
    });
  if (preparaPulsante(cmdCambiaDb_, this, static_cast<bool>(manutenzione.cambiaDati),
                      QStringLiteral("Apre l'archivio di un'altra cartella")))
    connect(cmdCambiaDb_, &QPushButton::clicked, this, [this, cambia = manutenzione.cambiaDati] {
      comando("cmdCambiaDb_Click", [this, &cambia] {
        if (!cambia()) return;
        CaricaCboGeneri();
        CaricaFornitori();
        Form_Activate();
      });
    });
}

void Magazzino::mostraAvviso(const QString& testo, int punti) {
  avviso_ = testo;
  puntiAvviso_ = punti;
  aggiornaTab();
}

void Magazzino::aggiornaTab() {
  // A job's text stands over the banner while the job runs; the banner comes back after it.
  const bool diLavoro = !stato_.isEmpty();
  QFont carattere = font();
  if (!diLavoro && puntiAvviso_ > 0) carattere.setPointSize(puntiAvviso_);
  lblTab_->setFont(carattere);
  lblTab_->setText(diLavoro ? stato_ : avviso_);
  lblTab_->setVisible(!lblTab_->text().isEmpty());
}

bool Magazzino::perFrontalini() const { return ckPerFrontalini_->isChecked(); }

void Magazzino::setStampaFrontalino(std::function<void()> stampa) {
  if (!preparaPulsante(cmdStampaFrontalino_, this, static_cast<bool>(stampa),
                       QStringLiteral("Stampa le etichette dei prodotti")))
    return;
  connect(cmdStampaFrontalino_, &QPushButton::clicked, this,
          [this, stampa] { comando("cmdStampaFrontalino_Click", [stampa] { stampa(); }); });
}

void Magazzino::setImporta(std::function<bool()> importa) {
  if (!preparaPulsante(cmdImporta_, this, static_cast<bool>(importa),
                       QStringLiteral("Importa prodotti da file di testo o fogli di calcolo")))
    return;
  connect(cmdImporta_, &QPushButton::clicked, this, [this, importa] {
    comando("cmdImporta_Click", [this, importa] {
      if (!importa()) return;
      CaricaCboGeneri();
      CaricaFornitori();
      CaricaMagazzino(kTuttiOrdinati, false);
    });
  });
}

void Magazzino::setImportaInterscambio(std::function<bool()> importa, int intervalloMs) {
  tmrImporta_.stop();
  tmrImporta_.disconnect(this);
  if (!importa) return;
  tmrImporta_.setObjectName("tmrImporta");
  tmrImporta_.setInterval(intervalloMs);
  connect(&tmrImporta_, &QTimer::timeout, this, [this, importa] {
    tmrImporta_.stop();
    comando("tmrImporta_Timer", [this, importa] {
      PuntatoreOccupato occupato;
      if (importa()) CmdCerca_Click();
    });
    tmrImporta_.start();
  });
  tmrImporta_.start();
}

void Magazzino::mostraStato(const QString& testo) {
  stato_ = testo;
  aggiornaTab();
}

void Magazzino::mostraRecordAttuale(const QString& numero) { lblRecAct_->setText(numero); }

void Magazzino::mostraTotaleRecord(int totale) { lblRecTot_->setText(QString::number(totale)); }

}  // namespace listinova
