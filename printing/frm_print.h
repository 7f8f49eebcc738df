#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace listinova {
namespace platform {
class Prompts;
}

enum class OpzioneStampa { Tutte, Corrente, Scelte, Etichetta };

// The arguments of PrintDoc.
struct RichiestaStampa {
  int prima = 1;
  int ultima = 1;
  int etichetta = 0;
  bool operator==(const RichiestaStampa&) const = default;
};

// What an option asks for, or nothing when its boxes do not hold valid data.
std::optional<RichiestaStampa> RichiestaDaOpzioni(OpzioneStampa opzione, const QString& inizio,
                                                  const QString& fine, const QString& numero,
                                                  int pagina, int pagine);

// "Opzioni di stampa": which pages (or which single label) go to the printer.
class FrmPrint : public QDialog {
  Q_OBJECT

 public:
  FrmPrint(int pagina, int pagine, platform::Prompts& prompts,
           std::function<void()> cambiaStampante, QWidget* parent = nullptr);

  const std::optional<RichiestaStampa>& richiesta() const { return richiesta_; }

 private:
  void cmdStampa_Click();
  OpzioneStampa opzione() const;

  int pagina_;
  int pagine_;
  platform::Prompts& prompts_;
  std::optional<RichiestaStampa> richiesta_;
  QRadioButton* optTutte_;
  QRadioButton* optCorrente_;
  QRadioButton* optScelte_;
  QRadioButton* optEtichetta_;
  QLineEdit* txtInizio_;
  QLineEdit* txtFine_;
  QLineEdit* txtEtichetta_;
};

}  // namespace listinova
