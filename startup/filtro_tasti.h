#pragma once

#include <QChar>
#include <QObject>
#include <QString>
#include <optional>

class QLineEdit;

namespace listinova {

// The shared table of the keys a field takes, by mode:
// 1 digits, Backspace, Enter; 2 letters, digits, Backspace, blank;
// 3 digits, Backspace, comma; 4 letters, digits, Backspace, "." and "@".
// `codiceTasto` is the character code of the key (8 Backspace, 13 Enter).
bool TastoAmmesso(int codiceTasto, int modo);
bool TastoAmmesso(QChar carattere, int modo);

// An amount or a percentage: digits, Backspace and Enter; "." is taken as the decimal
// comma, and a comma only after a digit and only once. Gives the character that goes into
// the field, nothing when the key is refused.
std::optional<QChar> TastoDecimale(QChar carattere, const QString& testo);

// Holds a QLineEdit to one of the rules above. Keys that type no character (Tab, arrows,
// Delete, Home, End, shortcuts) always pass.
class FiltroTasti : public QObject {
  Q_OBJECT

 public:
  // The mode of TastoDecimale, beside the table's 1 to 4.
  static constexpr int kDecimale = 0;

  FiltroTasti(int modo, QObject* parent = nullptr);
  // Installs a filter owned by the field itself.
  static void applica(QLineEdit* campo, int modo);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int modo_;
};

}  // namespace listinova
