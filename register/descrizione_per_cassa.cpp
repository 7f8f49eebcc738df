#include "register/descrizione_per_cassa.h"

namespace listinova {
namespace {

constexpr int kLunghezzaCassa = 20;

}  // namespace

QString SenzaCaratteriDiControllo(QString testo) {
  for (QChar& c : testo)
    if (c.unicode() < 32 || c.unicode() == 127) c = u' ';
  return testo;
}

// One pass: no replacement brings back a character that is removed.
QString DescrizionePerCassa(const QString& descrizione) {
  static const QString tolti = QStringLiteral("/'$%*#^°");
  QString testo;
  testo.reserve(descrizione.size());
  for (const QChar c : SenzaCaratteriDiControllo(descrizione)) {
    if (tolti.contains(c)) continue;
    if (c == u'+')
      testo += QStringLiteral("MORE");
    else if (c == u'-')
      testo += QStringLiteral("LESS");
    else
      testo += c == u',' ? QChar(u'.') : c;
  }
  return testo.trimmed().left(kLunghezzaCassa);
}

QString DescrizioneNelRecordPlu(const QString& descrizione) {
  QString testo = SenzaCaratteriDiControllo(descrizione);
  testo.remove(u'/').remove(u'\'').replace(u',', u'.');
  return testo.left(kLunghezzaCassa);
}

}  // namespace listinova
