#include "promotions/elenco_promozioni.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/db/database.h"
#include "platform/prompts.h"
#include "startup/error_log.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::db::DatabaseError;

constexpr char kModulo[] = "Magazzino";
constexpr int kColonne = 9;
constexpr int kLarghezze[kColonne] = {40, 60, 200, 85, 85, 95, 125, 105, 150};

void registraErrore(const char* procedura, const std::exception& errore) {
  if (const auto* db = dynamic_cast<const DatabaseError*>(&errore))
    ScriviErrore(kModulo, procedura, db->description(), db->code());
  else
    ScriviErrore(kModulo, procedura, QString::fromUtf8(errore.what()), 0);
}

QPushButton* pulsante(const char* nome, const QString& testo) {
  auto* p = new QPushButton(testo);
  p->setObjectName(nome);
  p->setAutoDefault(false);
  return p;
}

void avvisa(platform::Prompts& prompts, const QString& testo) {
  prompts.ask({testo, Globali().TitoloProgramma, Buttons::Ok, Icon::Exclamation, std::nullopt});
}

}  // namespace

ElencoPromozioni::ElencoPromozioni(platform::db::Database& db, platform::Prompts& prompts,
                                   Collegamenti collegamenti, QWidget* parent)
    : QGroupBox(QStringLiteral("Elenco Offerte"), parent),
      db_(db),
      prompts_(prompts),
      collegamenti_(std::move(collegamenti)) {
  setObjectName("frElencoPromozioni");
  lstOfferte_ = new QTreeWidget;
  lstOfferte_->setObjectName("lstOfferte");
  lstOfferte_->setColumnCount(kColonne);
  lstOfferte_->setHeaderLabels(IntestazioniElencoOfferte());
  lstOfferte_->setRootIsDecorated(false);
  lstOfferte_->setUniformRowHeights(true);
  lstOfferte_->setAllColumnsShowFocus(true);
  lstOfferte_->setAlternatingRowColors(true);
  lstOfferte_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (int colonna = 0; colonna < kColonne; ++colonna)
    lstOfferte_->setColumnWidth(colonna, kLarghezze[colonna]);
  lstOfferte_->setMinimumHeight(110);

  cmdEliminaOfferta_ = pulsante("cmdEliminaOfferta", QStringLiteral("Elimina Offerte"));
  cmdStampaElencoOfferte_ =
      pulsante("cmdStampaElencoOfferte", QStringLiteral("Stampa Elenco Offerte"));
  cmdChiudiElencoOfferte_ =
      pulsante("cmdChiudiElencoOfferte", QStringLiteral("Chiudi Elenco Offerte"));
  setStampa({});

  auto* comandi = new QHBoxLayout;
  comandi->addWidget(cmdEliminaOfferta_);
  comandi->addWidget(cmdStampaElencoOfferte_);
  comandi->addStretch();
  comandi->addWidget(cmdChiudiElencoOfferte_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lstOfferte_, 1);
  layout->addLayout(comandi);

  connect(cmdEliminaOfferta_, &QPushButton::clicked, this, [this] { cmdEliminaOfferta_Click(); });
  connect(cmdStampaElencoOfferte_, &QPushButton::clicked, this,
          [this] { cmdStampaElencoOfferte_Click(); });
  connect(cmdChiudiElencoOfferte_, &QPushButton::clicked, this,
          [this] { cmdChiudiElencoOfferte_Click(); });
}

void ElencoPromozioni::setStampa(std::function<void()> mostraReport) {
  mostraReport_ = std::move(mostraReport);
  cmdStampaElencoOfferte_->setEnabled(static_cast<bool>(mostraReport_));
  cmdStampaElencoOfferte_->setToolTip(mostraReport_
                                          ? QStringLiteral("Stampa l'elenco delle offerte mostrate")
                                          : QStringLiteral("Disponibile in una prossima versione"));
}

void ElencoPromozioni::apriChiudi(const QDate& dal) {
  if (isVisible()) {
    hide();
    if (collegamenti_.abilitaProdotti) collegamenti_.abilitaProdotti(true);
    return;
  }
  if (collegamenti_.abilitaProdotti) collegamenti_.abilitaProdotti(false);
  try {
    VediTutteLePromozioni(dal);
  } catch (const std::exception& errore) {
    registraErrore("VediTutteLePromozioni", errore);
  }
  show();
}

void ElencoPromozioni::VediTutteLePromozioni(const QDate& dal) {
  lstOfferte_->clear();
  QList<QTreeWidgetItem*> voci;
  for (const RigaElencoOfferte& riga : listinova::VediTutteLePromozioni(db_, dal)) {
    auto* voce = new QTreeWidgetItem(QStringList{
        riga.numero, riga.articolo, riga.descrizione, riga.dal, riga.al, riga.scontoValore,
        riga.scontoPercentuale, riga.prezzoScontato, riga.prezzoPiuBasso});
    for (int colonna : {0, 1, 5, 6, 7, 8})
      voce->setTextAlignment(colonna, Qt::AlignRight | Qt::AlignVCenter);
    voci.append(voce);
  }
  lstOfferte_->addTopLevelItems(voci);
}

std::vector<RigaElencoOfferte> ElencoPromozioni::righe() const {
  std::vector<RigaElencoOfferte> righe;
  for (int i = 0; i < lstOfferte_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* voce = lstOfferte_->topLevelItem(i);
    righe.push_back({voce->text(0), voce->text(1), voce->text(2), voce->text(3), voce->text(4),
                     voce->text(5), voce->text(6), voce->text(7), voce->text(8)});
  }
  return righe;
}

void ElencoPromozioni::cmdEliminaOfferta_Click() {
  if (prompts_.ask({QStringLiteral("Sei sicuro di voler eliminare le Offerte selezionate ?"),
                    Globali().TitoloProgramma, Buttons::OkCancel, Icon::Question, std::nullopt}) !=
      Answer::Ok)
    return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    // From the top, one selected row at a time: each takes every period of its product.
    for (int i = 0; i < lstOfferte_->topLevelItemCount();) {
      QTreeWidgetItem* voce = lstOfferte_->topLevelItem(i);
      if (!voce->isSelected()) {
        ++i;
        continue;
      }
      EliminaOfferteProdotto(db_, voce->text(1));
      delete voce;
    }
  } catch (const std::exception& errore) {
    registraErrore("cmdEliminaOfferta_Click", errore);
  }
  QApplication::restoreOverrideCursor();
  tornaAlBarCode();
}

void ElencoPromozioni::cmdStampaElencoOfferte_Click() {
  if (!mostraReport_) return;
  if (lstOfferte_->topLevelItemCount() == 0) {
    avvisa(prompts_, QStringLiteral("Nessun prodotto da stampare!!!"));
    return;
  }
  try {
    RiempiRptProdotti(db_, righe());
  } catch (const std::exception& errore) {
    registraErrore("cmdStampaElencoOfferte_Click", errore);
    return;
  }
  mostraReport_();
}

void ElencoPromozioni::cmdChiudiElencoOfferte_Click() {
  hide();
  if (collegamenti_.abilitaProdotti) collegamenti_.abilitaProdotti(true);
  tornaAlBarCode();
}

void ElencoPromozioni::tornaAlBarCode() {
  if (collegamenti_.tornaAlBarCode) collegamenti_.tornaAlBarCode();
}

}  // namespace listinova
