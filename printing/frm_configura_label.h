#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "printing/configura_etichette.h"
#include "printing/easy_print.h"
#include "printing/layout_etichetta.h"
#include "printing/modelli_foglio.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace listinova {
namespace platform {
class Prompts;
namespace db {
class Database;
}
}  // namespace platform

// What the label editor works with.
struct AmbienteEditorEtichette {
  platform::db::Database& db;
  QString percorsoSetup;
  QString cartellaProgramma;
  platform::Prompts& prompts;
  DispositivoEtichette& stampante;
  // The name of the printer the labels go to, for its correction; empty for the default.
  std::function<QString()> nomeStampante;
  // The product list's "Invio PLU Modificati" and "x Frontalini".
  std::function<FiltriEtichette()> filtri;
  // Opens the preview on the engine; the editor's "&Anteprima Etichette".
  std::function<void(EasyPrint&)> anteprima;
  // The font dialog; nothing when the user cancels. Empty: Qt's own dialog.
  std::function<std::optional<CarattereEtichetta>(const CarattereEtichetta&)> sceltaCarattere;
  // The colour dialog (RGB, red in the low byte); nothing when cancelled. Empty: Qt's own.
  std::function<std::optional<quint32>(quint32)> sceltaColore;
};

// The font the dialog gives back, kept to what the user changed in it: what the dialog
// showed (`mostrato`) and gave back unchanged stays as stored in `prima` ("Arial" is not
// renamed after the face that stands in for it, and bold stays bold).
CarattereEtichetta CarattereScelto(const CarattereEtichetta& prima, const QFont& mostrato,
                                   const QFont& scelto);
// The font the dialog opens on: the stored one as this system draws it.
QFont FontPerDialogo(const CarattereEtichetta& c);

// Screen pixels of the editor are twips at 96 dots per inch.
inline constexpr double kTwipsPerPixel = 15.0;

// "Configurazione Etichetta - Frontalino": the one label layout, edited by dragging its six
// elements, and the sheet it is printed on.
class FrmConfiguraLabel : public QDialog {
  Q_OBJECT

 public:
  FrmConfiguraLabel(AmbienteEditorEtichette ambiente, QString contesto = kContestoToolbar,
                    RigaPerEtichetta riga = {}, QWidget* parent = nullptr);

  EasyPrint& motore() { return motore_; }
  const LayoutEtichetta& layout() const { return layout_; }
  const QString& contesto() const { return motore_.contesto(); }
  QWidget* elemento(int indice) const;  // 0-4 the text elements, 5 the logo
  QWidget* superficie() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* costruisciSuperficie();
  QWidget* costruisciFoglio();
  void aggiorna();
  void mostraElementi();
  void mostraElemento(int indice);
  void configura();
  void cambiaCarattere(int indice);
  void cambiaColore(int indice);
  void cambiaOpzione(const QString& chiave, bool attiva);
  void mostraColori();
  void lasciaElemento(int indice);
  void cboModello_Change();
  void cmdSalva_Click();
  void cmdChiudi_Click();
  const ModelloFoglio* modelloScelto() const;

  AmbienteEditorEtichette ambiente_;
  RigaPerEtichetta riga_;
  LayoutEtichetta layout_;
  EasyPrint motore_;
  std::vector<ModelloFoglio> modelli_;
  std::array<QLabel*, kElementiTesto> lblRigaEti_{};
  QLabel* Picture1_ = nullptr;
  QFrame* Shape1_ = nullptr;
  QWidget* foglio_ = nullptr;
  QCheckBox* chkAllowDragging_ = nullptr;
  QCheckBox* Check1_ = nullptr;
  QCheckBox* chkVediBarcode_ = nullptr;
  QCheckBox* chkCodFornitoreEAN8_ = nullptr;
  std::array<QPushButton*, kElementiTesto> cmdColore_{};
  QLabel* lblCella_ = nullptr;
  QLineEdit* txtNumCol_ = nullptr;
  QLineEdit* txtNumRighe_ = nullptr;
  QComboBox* cboModello_ = nullptr;
  QSpinBox* spnInizio_ = nullptr;
  QDoubleSpinBox* spnCorrezioneX_ = nullptr;
  QDoubleSpinBox* spnCorrezioneY_ = nullptr;
  QWidget* trascinato_ = nullptr;
  QPoint presa_;
  bool carica_ = false;
};

// The logo of the labels: "Logo.png" in the shop folder, else the program's own picture.
QImage LogoEtichetta(const QString& cartellaProgramma);

}  // namespace listinova
