#include "catalogue/modulo_ean.h"

#include <algorithm>
#include <array>

namespace listinova {
namespace {

constexpr QChar kInizioEAN8 = u':';
constexpr QChar kCentrale = u'*';
constexpr QChar kFine = u'+';
constexpr char16_t kSetA = u'A';
constexpr char16_t kSetB = u'K';
constexpr char16_t kSetC = u'a';

// The left-half sets of digits 2..7 of an EAN-13, chosen by its first digit.
constexpr std::array<const char*, 10> kParita = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                                 "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

bool cifraAscii(QChar c) { return c >= u'0' && c <= u'9'; }

bool soloCifre(const QString& testo, qsizetype lunghezza) {
  return testo.size() == lunghezza && std::all_of(testo.begin(), testo.end(), cifraAscii);
}

int cifra(QChar c) { return c.unicode() - u'0'; }

// GS1: weights 3 and 1 alternate leftwards from the rightmost data digit.
QChar cifraDiControllo(const QString& dati) {
  int somma = 0;
  int peso = 3;
  for (qsizetype i = dati.size() - 1; i >= 0; --i) {
    somma += cifra(dati.at(i)) * peso;
    peso = 4 - peso;
  }
  return QChar(u'0' + (10 - somma % 10) % 10);
}

QChar nelSet(char16_t set, QChar c) { return QChar(set + cifra(c)); }

// The digit a font character stands for in `set`, or -1.
int daSet(char16_t set, QChar c) {
  const int d = c.unicode() - set;
  return d >= 0 && d <= 9 ? d : -1;
}

}  // namespace

QString CodificaEAN8(QString& codice) {
  if (!soloCifre(codice, 7)) return {};
  codice += cifraDiControllo(codice);
  QString testo(kInizioEAN8);
  for (qsizetype i = 0; i < 4; ++i) testo += nelSet(kSetA, codice.at(i));
  testo += kCentrale;
  for (qsizetype i = 4; i < 8; ++i) testo += nelSet(kSetC, codice.at(i));
  return testo + kFine;
}

QString CodificaEAN13(QString& codice) {
  if (!soloCifre(codice, 12)) return {};
  codice += cifraDiControllo(codice);
  const char* parita = kParita[cifra(codice.at(0))];
  QString testo(codice.at(0));
  for (qsizetype i = 1; i < 7; ++i)
    testo += nelSet(parita[i - 1] == 'A' ? kSetA : kSetB, codice.at(i));
  testo += kCentrale;
  for (qsizetype i = 7; i < 13; ++i) testo += nelSet(kSetC, codice.at(i));
  return testo + kFine;
}

QString TestoEANPerCodice(const QString& codice) {
  QString dati;
  if (codice.size() == 8) {
    dati = codice.left(7);
    return CodificaEAN8(dati);
  }
  if (codice.size() == 13) {
    dati = codice.left(12);
    return CodificaEAN13(dati);
  }
  return {};
}

QString CodiceEANCorretto(const QString& codice) {
  if (!soloCifre(codice, 8) && !soloCifre(codice, 13)) return {};
  const QString dati = codice.chopped(1);
  return dati + cifraDiControllo(dati);
}

QString DigitiDaTestoEAN(const QString& testoFont) {
  QString cifre;
  for (qsizetype i = 0; i < testoFont.size(); ++i) {
    const QChar c = testoFont.at(i);
    // Only the first character of an EAN-13 is a plain digit.
    const int d = i == 0 && cifraAscii(c)
                      ? cifra(c)
                      : std::max({daSet(kSetA, c), daSet(kSetB, c), daSet(kSetC, c)});
    if (d >= 0) cifre += QChar(u'0' + d);
  }
  // Re-drawing the digits rejects wrong sets, guards, lengths and check digits at once.
  if (cifre.size() != 8 && cifre.size() != 13) return {};
  return TestoEANPerCodice(cifre) == testoFont ? cifre : QString();
}

}  // namespace listinova
