#pragma once

#include <QColor>
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "platform/serial_devices.h"
#include "programma/setup_cassa.h"
#include "register/prova_collegamento.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace listinova {
namespace platform {
class Printers;
class Prompts;
}  // namespace platform
struct VarGlobali;

// What the setup window needs from around it. Empty dialog hooks take Qt's standard dialogs;
// without `provaCollegamento` (no store, so no register link) "Prova collegamento" is disabled.
struct AmbienteSetup {
  platform::Prompts& prompts;
  const platform::Printers& stampanti;
  std::vector<platform::SerialDevice> dispositivi;
  // Each gives an empty text, or nothing, when the operator cancels.
  std::function<QString(const QString& titolo, const QString& filtro)> scegliFile;
  std::function<QString(const QString& titolo)> scegliCartella;
  std::function<std::optional<QColor>(const QColor& attuale)> scegliColore;
  std::function<std::vector<EsitoProva>()> provaCollegamento;
};

// "Impostazioni Periferiche": the register link and the program's other local settings.
class FrmSetupCassa : public QDialog {
  Q_OBJECT

 public:
  FrmSetupCassa(AmbienteSetup ambiente, VarGlobali& globali, QWidget* parent = nullptr);

  // "&Applica"; false when the store was refused and the operator told why.
  bool salva();
  bool modificato() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 public slots:
  void reject() override;

 private:
  QWidget* paginaCassa();
  QWidget* paginaStampanti();
  QWidget* paginaAspetto();
  QWidget* paginaDati();
  QComboBox* elenco(const char* nome, const QStringList& voci);
  QComboBox* elencoPorte(const char* nome, const QString& attuale);
  QLineEdit* casella(const char* nome, const QString& testo);
  QPushButton* pulsante(const char* nome, const QString& testo, void (FrmSetupCassa::*azione)());
  void segnaModificato();
  // The "&Chiudi" question; false when the window stays open.
  bool puoChiudere();
  void cambiaStampante(int indice);
  void cambiaStampanteA4() { cambiaStampante(0); }
  void cambiaStampanteEtichette() { cambiaStampante(1); }
  void cambiaDatabase();
  void cambiaCartellaIn();
  void cambiaCartellaOut();
  void cambiaSfondo();
  void cambiaColore();
  void provaCollegamento();
  void mostraSfondo(const QString& percorso);
  void mostraColore();

  AmbienteSetup a_;
  VarGlobali& g_;
  // What the widgets do not hold: the chosen picture and colour.
  ValoriSetupCassa valori_;

  QComboBox *cbPortaComCassa_, *cbPortaComCassa1_, *cbPortaComCassa2_;
  QComboBox *cbVelocitaComCassa_, *cbBitDatiComCassa_, *cbParitaComCassa_, *cbBitStopComCassa_,
      *cbFlussoComCassa_;
  QLineEdit* txtIP_[4];
  QCheckBox* ckTipoST_;
  QPushButton* cmdProvaCollegamento_;
  QLineEdit *txtStA4_, *txtStFR_;
  QLabel *imgSfondo_, *PicColore_;
  QLineEdit *txtDatabaseEsterno_, *txtNomeAttivita_, *txtInterscambioIN_, *txtInterscambioOUT_;
  QCheckBox* ckPrendiPLU_[2];
  QPushButton *CmdApplica_, *Command1_;
};

}  // namespace listinova
