#include "touch/digitazione.h"

#include <QRegularExpression>

namespace listinova {
namespace {

// Two-digit years below this are of this century, the others of the last.
constexpr int kSecoloAnniBrevi = 30;
constexpr int kLunghezzaOra = 5;    // hh:mm
constexpr int kLunghezzaData = 10;  // dd/mm/yyyy

}  // namespace

GruppiTastiera GruppiDelModo(int modo) {
  switch (modo) {
    case kModoNumero:
    case kModoNumeri:
      return {false, true, true, false, false};
    case kModoLettere:
      return {true, false, false, false, false};
    case kModoAlfanumerico:
    case kModoTesto:
      return {true, true, true, false, false};
    case kModoAlChilo:
      return {false, false, false, true, false};
    case kModoData:
      return {false, true, false, false, true};
    case kModoOra:
    case kModoCifre:
      return {false, true, false, false, false};
    default:
      return {};
  }
}

QString DigitaTasto(const QString& digitato, const QString& tasto, int modo) {
  const qsizetype lunghezza = digitato.size();
  if (modo == kModoOra) {
    if (lunghezza == 2) return digitato + u':' + tasto;
    return lunghezza >= kLunghezzaOra ? digitato : digitato + tasto;
  }
  if (tasto == u"," && digitato.contains(u',') && modo != kModoNumeri) return digitato;
  if (modo == kModoData) {
    if (lunghezza == 2 || lunghezza == 5) return digitato + u'/' + tasto;
    return lunghezza >= kLunghezzaData ? digitato : digitato + tasto;
  }
  return digitato + tasto;
}

QString TogliUltimo(const QString& digitato) {
  return digitato.size() < 2 ? QString() : digitato.left(digitato.size() - 1);
}

std::optional<QDate> DataDigitata(const QString& digitato) {
  static const QRegularExpression forma(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
  const QRegularExpressionMatch parti = forma.match(digitato.trimmed());
  if (!parti.hasMatch()) return std::nullopt;
  int anno = parti.captured(3).toInt();
  if (parti.captured(3).size() == 2) anno += anno < kSecoloAnniBrevi ? 2000 : 1900;
  const QDate data(anno, parti.captured(2).toInt(), parti.captured(1).toInt());
  if (!data.isValid()) return std::nullopt;
  return data;
}

}  // namespace listinova
