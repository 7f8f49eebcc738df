// The printer selection window.
#include "printing/frm_change_st.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/prompts.h"
#include "printing/scelta_stampante.h"
#include "startup/var_globali.h"

namespace listinova {

FrmChangeST::FrmChangeST(QString scopo, QString percorsoSetup, const platform::Printers& stampanti,
                         platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent),
      scopo_(std::move(scopo)),
      percorsoSetup_(std::move(percorsoSetup)),
      prompts_(prompts),
      List1_(new QListWidget),
      cmdApplicaST_(new QPushButton(QStringLiteral("Applica"))),
      cmdAnnullaImpo_(new QPushButton(QStringLiteral("Annulla"))) {
  setObjectName("frmChangeST");
  setWindowTitle(QStringLiteral("Cambia la Stampante di sistema"));
  List1_->setObjectName("List1");
  cmdApplicaST_->setObjectName("cmdApplicaST");
  cmdAnnullaImpo_->setObjectName("cmdAnnullaImpo");
  List1_->addItems(ElencoStampanti(stampanti));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(scopo_ == kScopoA4 ? QStringLiteral("Stampante predefinita per A4:")
                                                  : QStringLiteral("Stampante per i Frontalini:")));
  layout->addWidget(List1_);
  auto* pulsanti = new QHBoxLayout;
  pulsanti->addStretch();
  pulsanti->addWidget(cmdApplicaST_);
  pulsanti->addWidget(cmdAnnullaImpo_);
  layout->addLayout(pulsanti);
  resize(420, 300);

  connect(cmdApplicaST_, &QPushButton::clicked, this, [this] { cmdApplicaST_Click(); });
  connect(cmdAnnullaImpo_, &QPushButton::clicked, this, &QDialog::reject);
  connect(List1_, &QListWidget::itemDoubleClicked, this, [this] { cmdApplicaST_Click(); });
}

void FrmChangeST::cmdApplicaST_Click() {
  const QListWidgetItem* voce = List1_->currentItem();
  if (!voce || !voce->isSelected()) {
    prompts_.ask({QStringLiteral("Selezionare una Stampante dall'Elenco"),
                  Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Information});
    return;
  }
  scelta_ = voce->text();
  ScriviInSetupLaST(percorsoSetup_, ChiavePerScopo(scopo_), scelta_);
  accept();
}

}  // namespace listinova
