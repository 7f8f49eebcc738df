#pragma once

// What the on-screen keyboard lets the operator type for each kind of value, and how a tapped
// key changes the typed text.

#include <QDate>
#include <QString>
#include <optional>

namespace listinova {

// The kinds of value a window asks the keyboard for.
enum ModoTastiera {
  kModoNumero = 1,  // digits and one comma
  kModoLettere = 2,
  kModoAlfanumerico = 3,
  kModoAlChilo = 4,  // sold by the kilo: yes or no
  kModoData = 5,
  kModoOra = 6,
  kModoCifre = 7,
  kModoNumeri = 8,  // digits and any number of commas
  kModoTesto = 9,
};
constexpr int kPrimoModo = kModoNumero;
constexpr int kUltimoModo = kModoTesto;

// The key groups a mode makes usable.
struct GruppiTastiera {
  bool lettere = false;
  bool cifre = false;
  bool virgola = false;
  bool alChilo = false;
  bool avvisoData = false;
};
// An unknown mode makes no key usable.
GruppiTastiera GruppiDelModo(int modo);

// The typed text after the key `tasto` in `modo`: the time gets its ":", the date its "/",
// and a comma beyond the mode's allowance, or a digit past a full time or date, is ignored.
QString DigitaTasto(const QString& digitato, const QString& tasto, int modo);
QString TogliUltimo(const QString& digitato);

// A date typed as dd/mm/yyyy, or dd/mm/yy (years below 30 in this century).
std::optional<QDate> DataDigitata(const QString& digitato);

}  // namespace listinova
