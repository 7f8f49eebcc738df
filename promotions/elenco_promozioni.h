// The list of every offer from a date onwards, with its delete and print commands.
#pragma once

#include <QDate>
#include <QGroupBox>
#include <functional>
#include <vector>

#include "promotions/offerte.h"

class QPushButton;
class QTreeWidget;

namespace listinova {
namespace platform {
class Prompts;
namespace db {
class Database;
}
}  // namespace platform

class ElencoPromozioni : public QGroupBox {
  Q_OBJECT

 public:
  struct Collegamenti {
    // The product list is off exactly while this list is open.
    std::function<void(bool abilitato)> abilitaProdotti;
    std::function<void()> tornaAlBarCode;  // may be empty
  };

  ElencoPromozioni(platform::db::Database& db, platform::Prompts& prompts,
                   Collegamenti collegamenti, QWidget* parent = nullptr);

  // What "Stampa Elenco Offerte" opens once rptProdotti holds the list: the offer report.
  // Without one the button stays disabled.
  void setStampa(std::function<void()> mostraReport);

  // "Tutte le Promozioni DAL": opens the list of the offers starting on `dal` or later, or
  // closes it.
  void apriChiudi(const QDate& dal);
  void VediTutteLePromozioni(const QDate& dal);
  // The rows as they are shown now.
  std::vector<RigaElencoOfferte> righe() const;

 private:
  void cmdEliminaOfferta_Click();
  void cmdStampaElencoOfferte_Click();
  void cmdChiudiElencoOfferte_Click();
  void tornaAlBarCode();

  platform::db::Database& db_;
  platform::Prompts& prompts_;
  Collegamenti collegamenti_;
  std::function<void()> mostraReport_;

  QTreeWidget* lstOfferte_ = nullptr;
  QPushButton* cmdEliminaOfferta_ = nullptr;
  QPushButton* cmdStampaElencoOfferte_ = nullptr;
  QPushButton* cmdChiudiElencoOfferte_ = nullptr;
};

}  // namespace listinova
