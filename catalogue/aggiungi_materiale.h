#pragma once

#include <QDialog>
#include <QList>
#include <array>

#include "catalogue/scheda_prodotto.h"

class QComboBox;
class QVBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace listinova {
namespace platform {
class Notice;
class SerialPort;
}  // namespace platform
class LettoreBarCode;

// The product editor: a new product, or the one chosen in the product list.
class AggiungiMateriale : public QDialog {
  Q_OBJECT

 public:
  // `scanner` may be null (no port configured): then no serial port is opened.
  AggiungiMateriale(platform::db::Database& db, platform::Prompts& prompts,
                    platform::Notice& notice, platform::SerialPort* scanner,
                    QWidget* parent = nullptr);

  void NuovoProdotto();
  // False when there is no such product.
  bool PreparaPerModifica(const QString& codMateriale);
  void setAggiungiAbilitato(bool abilitato);
  void setOggi(std::function<QDate()> oggi) { scheda_.setOggi(std::move(oggi)); }

 signals:
  void prodottoSalvato(const QString& codMateriale);

 private:
  QLineEdit* nuovaCasella(Campo campo, const char* nome, QWidget* contenitore);
  QComboBox* nuovaCombo(Campo campo, const char* nome, bool modificabile, QWidget* contenitore);
  QPushButton* nuovoPulsante(const char* nome, const QString& testo, QWidget* contenitore);
  QWidget* costruisciDati();
  QWidget* costruisciPrezzi();
  QWidget* costruisciCodici();
  void caricaElenchi();
  void aggiornaFornitori();
  void collega();
  void mostra(Campo campo, const QString& testo);

  bool salva();
  void CmdConferma_Click();
  void cmdAggiungi_Click();
  void cmdAnnulla_Click();
  void cmdBCAlternativi_Click();
  void chiudiBarCodeAlternativi();
  void mostraPannello(bool aperto);
  void preparaCaselle();
  void evidenziaBarCode(const QString& cerca);
  void primoBarCodeTrovato();
  void mostraElencoBarCode();
  void barCodeLetto(const QString& barCode);

  platform::Prompts& prompts_;
  platform::Notice& notice_;
  SchedaProdotto scheda_;
  std::array<QWidget*, kNumeroCampi> campi_{};
  QGroupBox* frDati_ = nullptr;
  QPushButton* cmdConferma_ = nullptr;
  QPushButton* cmdAggiungi_ = nullptr;
  QPushButton* cmdAnnulla_ = nullptr;
  QPushButton* cmdBCAlternativi_ = nullptr;
  QListWidget* lstElencoBarCode_ = nullptr;
  QGroupBox* frBarCodeAlternativi_ = nullptr;
  QVBoxLayout* colonnaCaselle_ = nullptr;
  QList<QLineEdit*> caselleBarCode_;
  QLineEdit* lblCercaBarCode_ = nullptr;
  LettoreBarCode* lettore_ = nullptr;
};

}  // namespace listinova
