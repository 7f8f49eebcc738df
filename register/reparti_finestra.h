#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "register/archivio_reparti.h"
#include "touch/cls_resize.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace listinova {
namespace platform {
class Notice;
class Prompts;
namespace db {
class Database;
class DatabaseError;
}  // namespace db
}  // namespace platform

// Runs the department send; the hook shows (true) or hides the window's notice frame.
using TrasferisciReparti = std::function<void(const std::function<void(bool)>& frAvviso)>;

// "- Gestione Reparti -": the shop's departments, one edited at a time, the products of the
// selected one, and the send of them all to the registers.
class Reparti : public QDialog {
  Q_OBJECT

 public:
  // An empty `trasferisci` leaves "Trasferisci sulla CASSA" disabled.
  Reparti(platform::db::Database& db, platform::Prompts& prompts, platform::Notice& notice,
          TrasferisciReparti trasferisci, QWidget* parent = nullptr);

  // Fills the list again and selects `cod` when it is there.
  void CaricaReparti(int cod = 0);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QGroupBox* costruisciModifica();
  QWidget* costruisciImmagine(QWidget* contenitore);
  QGroupBox* costruisciAvviso();
  int repartoSelezionato() const;
  void ListReparti_Click();
  void caricaReparto(int cod);
  void caricaProdotti(int cod);
  void abilitaModifica(bool abilitata);
  void ckPrezzoZero_Click();
  void Command1_Click(int indice);
  void cmdConferma_Click();
  void cmdAnnulla_Click();
  bool convalida();
  void salva(int cod);
  void azzera(int cod);
  void trasferisci();
  void caricaCartelle();
  void Dir1_Change();
  void File1_Click();
  void mostraImmagine();
  void errore(const char* procedura, const platform::db::DatabaseError& e) const;

  ArchivioReparti archivio_;
  platform::Prompts& prompts_;
  platform::Notice& notice_;
  TrasferisciReparti trasferisci_;
  QString cartellaIcone_;
  QString percorsoIcon_;
  QString icon_;
  bool inModifica_ = false;
  ClsResize resize_;

  QTreeWidget* ListReparti_ = nullptr;
  QTreeWidget* ListProdRep_ = nullptr;
  QGroupBox* frModifica_ = nullptr;
  QLineEdit* NomeReparto_ = nullptr;
  QLineEdit* Iva_ = nullptr;
  QLineEdit* txtValoreReparto_ = nullptr;
  QRadioButton* OpzPrezzo_ = nullptr;
  QRadioButton* OpzSconto_ = nullptr;
  QRadioButton* OpzFiscale_ = nullptr;
  QRadioButton* OpzNonFiscale_ = nullptr;
  QCheckBox* ckPrezzoZero_ = nullptr;
  QListWidget* Dir1_ = nullptr;
  QListWidget* File1_ = nullptr;
  QLabel* Image1_ = nullptr;
  QPushButton* Command1_[3] = {};
  QPushButton* cmdConferma_ = nullptr;
  QPushButton* cmdAnnulla_ = nullptr;
  QPushButton* cmdChiudi_ = nullptr;
  QGroupBox* frAvviso_ = nullptr;
};

}  // namespace listinova
