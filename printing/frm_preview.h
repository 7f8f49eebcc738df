#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace listinova {
class EasyPrint;
namespace platform {
class Prompts;
}

// The zoom choices of the preview and their stored values.
inline constexpr int kZoomPaginaIntera = 0;
inline constexpr int kZoomAdatta = -1;
// Dots per inch of a page shown at "100 %".
inline constexpr double kPuntiSchermo = 96.0;

// Scale of the page in the view for a zoom value: a percentage, the whole page height in
// the view (0) or the page width across it (-1).
double FattoreZoom(int valore, QSizeF vista, QSizeF pagina);

// What the preview's buttons reach beyond the engine.
struct AzioniAnteprima {
  // The print options' link to the printer selection.
  std::function<void()> cambiaStampante;
  // "Salva PDF" asks where with this: the file chosen, empty when the user cancels. Without
  // it the preview offers no "Salva PDF".
  std::function<QString()> filePdf;
  // Without a printer there is no "Stampa": "Salva PDF" is the way out.
  bool stampanteInstallata = true;
};

// "Anteprima": the label engine's pages as they will print, one at a time.
class FrmPreview : public QDialog {
  Q_OBJECT

 public:
  FrmPreview(EasyPrint& documento, platform::Prompts& prompts, AzioniAnteprima azioni,
             QWidget* parent = nullptr);

  int pagina() const { return pagina_; }
  void vaiAPagina(int pagina);
  QString stato() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void disegna();
  void cmdStampa_Click();
  void cmdSalvaPdf_Click();
  void avvisa(const QString& testo);
  void mostraStato(const QString& testo);

  EasyPrint& documento_;
  platform::Prompts& prompts_;
  AzioniAnteprima azioni_;
  int pagina_ = 1;
  QComboBox* cboZoom_;
  QScrollArea* area_;
  QLabel* immagine_;
  QLabel* lblStato_;
  QPushButton* cmdPrec_;
  QPushButton* cmdSucc_;
};

}  // namespace listinova
