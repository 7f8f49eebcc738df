// The product list's sales tab: the period, the sold quantities and the print of the period.
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "catalogue/magazzino.h"
#include "catalogue/magazzino_comune.h"
#include "platform/clock.h"
#include "platform/prompts.h"

namespace listinova {

using namespace magazzino_comune;

QWidget* Magazzino::costruisciVendite() {
  auto* pagina = new QWidget;
  auto* layout = new QVBoxLayout(pagina);
  auto* periodo = new QHBoxLayout;
  dtGiornoRif_ = new QDateEdit;
  dtGiornoRif_->setObjectName("dtGiornoRif");
  dtDataAl_ = new QDateEdit;
  dtDataAl_->setObjectName("dtDataAl");
  periodo->addWidget(new QLabel(QStringLiteral("Vendite dal")));
  periodo->addWidget(dtGiornoRif_);
  periodo->addWidget(new QLabel(QStringLiteral("al")));
  periodo->addWidget(dtDataAl_);
  for (QDateEdit* data : {dtGiornoRif_, dtDataAl_}) {
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    data->setCalendarPopup(true);
    data->setDate(clock_.now().date());
  }
  cmdTrova_ = prossimaVersione("cmdTrova", QStringLiteral("Trova"));
  periodo->addWidget(cmdTrova_);
  periodo->addStretch();
  layout->addLayout(periodo);

  lstPLU_ = new QTreeWidget;
  lstPLU_->setObjectName("lstPLU");
  lstPLU_->setHeaderLabels({QStringLiteral("Codice a barre"), QStringLiteral("Descrizione"),
                            QStringLiteral("Quantità")});
  lstPLU_->setRootIsDecorated(false);
  lstPLU_->setAlternatingRowColors(true);
  lstPLU_->setColumnWidth(0, 140);
  lstPLU_->setColumnWidth(1, 420);
  layout->addWidget(lstPLU_, 1);

  auto* totali = new QHBoxLayout;
  lblTotMovimentati_ = contatore("lblTotMovimentati");
  lblTotQuantita_ = contatore("lblTotQuantita");
  lblTotQuantita_->setMinimumWidth(100);
  totali->addWidget(new QLabel(QStringLiteral("Prodotti movimentati:")));
  totali->addWidget(lblTotMovimentati_);
  totali->addSpacing(16);
  totali->addWidget(new QLabel(QStringLiteral("Quantità venduta:")));
  totali->addWidget(lblTotQuantita_);
  totali->addStretch();
  layout->addLayout(totali);
  return pagina;
}

void Magazzino::setStampaVendite(std::function<void(const QDate& dal, const QDate& al)> stampa) {
  cmdStampaVPLU_->disconnect(this);
  cmdStampaVPLU_->setEnabled(static_cast<bool>(stampa));
  cmdStampaVPLU_->setToolTip(stampa ? QStringLiteral("Stampa o esporta le vendite del periodo")
                                    : kProssimaVersione);
  if (!stampa) return;
  // The period is the one the sales tab shows, the same "Trova" lists.
  connect(cmdStampaVPLU_, &QPushButton::clicked, this, [this, stampa] {
    comando("cmdStampaVPLU_Click",
            [this, stampa] { stampa(dtGiornoRif_->date(), dtDataAl_->date()); });
  });
}

void Magazzino::setTrovaVendite(
    std::function<VenditeDaMostrare(const QDate& dal, const QDate& al)> trova) {
  trovaVendite_ = std::move(trova);
  cmdTrova_->disconnect(this);
  cmdTrova_->setEnabled(static_cast<bool>(trovaVendite_));
  cmdTrova_->setToolTip(trovaVendite_ ? QStringLiteral("Mostra il venduto del periodo")
                                      : kProssimaVersione);
  if (trovaVendite_)
    connect(cmdTrova_, &QPushButton::clicked, this,
            [this] { comando("cmdTrova_Click", [this] { cmdTrova_Click(); }); });
}

void Magazzino::cmdTrova_Click() {
  if (dtDataAl_->date() < dtGiornoRif_->date()) {
    prompts_.ask({QStringLiteral("ATTENZIONE!!! - Controllare il periodo selezionato (la Data Al "
                                 "non può essere precedente alla Data Dal) e riprovare"),
                  QStringLiteral("Listinova"), platform::Buttons::Ok, platform::Icon::Exclamation});
    return;
  }
  PuntatoreOccupato occupato;
  const VenditeDaMostrare vendite = trovaVendite_(dtGiornoRif_->date(), dtDataAl_->date());
  lstPLU_->clear();
  QList<QTreeWidgetItem*> righe;
  for (const QStringList& riga : vendite.righe) {
    auto* voce = new QTreeWidgetItem(riga);
    voce->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    righe.append(voce);
  }
  lstPLU_->addTopLevelItems(righe);
  lblTotMovimentati_->setText(QString::number(righe.size()));
  lblTotQuantita_->setText(vendite.totale);
}

}  // namespace listinova
