#include "import/testo_fornitore.h"

#include <QFile>
#include <QStringDecoder>

#include "import/riepilogo_import.h"

namespace listinova {
namespace {

// Windows-1252 for 0x80-0x9F; the five unassigned bytes keep their own code point.
constexpr char16_t kCp1252Alti[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString daCp1252(QByteArrayView byte) {
  QString testo;
  testo.reserve(byte.size());
  for (char c : byte) {
    const auto b = static_cast<unsigned char>(c);
    testo.append(b >= 0x80 && b <= 0x9F ? QChar(kCp1252Alti[b - 0x80]) : QChar(b));
  }
  return testo;
}

}  // namespace

QString DecodificaTestoFornitore(const QByteArray& contenuto) {
  QByteArrayView byte(contenuto);
  if (byte.startsWith("\xEF\xBB\xBF")) byte = byte.sliced(3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString testo = utf8(byte);
  return utf8.hasError() ? daCp1252(byte) : testo;
}

QStringList LeggiRigheFornitore(const QString& percorso) {
  QFile file(percorso);
  if (!file.open(QIODevice::ReadOnly))
    throw ErroreImport(
        QStringLiteral("Impossibile leggere il file \"%1\": %2").arg(percorso, file.errorString()));
  QStringList righe = DecodificaTestoFornitore(file.readAll()).split('\n');
  for (QString& riga : righe)
    if (riga.endsWith('\r')) riga.chop(1);
  if (!righe.isEmpty() && righe.last().isEmpty()) righe.removeLast();
  return righe;
}

QString Campo(const QString& riga, int posizione, int lunghezza) {
  return riga.mid(posizione - 1, lunghezza);
}

}  // namespace listinova
