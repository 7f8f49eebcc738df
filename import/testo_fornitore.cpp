#include "import/testo_fornitore.h"

#include <QFile>
#include <QStringDecoder>

#include "import/riepilogo_import.h"
#include "platform/cp1252.h"

namespace listinova {

QString DecodificaTestoFornitore(const QByteArray& contenuto) {
  QByteArrayView byte(contenuto);
  if (byte.startsWith("\xEF\xBB\xBF")) byte = byte.sliced(3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString testo = utf8(byte);
  return utf8.hasError() ? platform::decodeCp1252(byte) : testo;
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
