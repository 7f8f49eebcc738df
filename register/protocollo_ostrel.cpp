#include "register/protocollo_ostrel.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

namespace listinova {
namespace {

// One conversion through iconv; characters the target lacks become "?".
QByteArray converti(const char* da, const char* a, const QByteArray& ingresso, char sostituto) {
  iconv_t cd = iconv_open(a, da);
  if (cd == reinterpret_cast<iconv_t>(-1)) return ingresso;
  QByteArray uscita;
  std::vector<char> blocco(4 * ingresso.size() + 16);
  char* in = const_cast<char*>(ingresso.constData());
  size_t restanti = static_cast<size_t>(ingresso.size());
  while (restanti > 0) {
    char* out = blocco.data();
    size_t spazio = blocco.size();
    size_t esito = iconv(cd, &in, &restanti, &out, &spazio);
    uscita.append(blocco.data(), static_cast<qsizetype>(out - blocco.data()));
    if (esito == static_cast<size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
      // skip one unconvertible character (a whole UTF-8 sequence on the way out)
      size_t salto = 1;
      if (std::string_view(da) == "UTF-8") {
        auto primo = static_cast<unsigned char>(*in);
        salto = primo >= 0xF0 ? 4 : primo >= 0xE0 ? 3 : primo >= 0xC0 ? 2 : 1;
        salto = std::min(salto, restanti);
      }
      uscita.append(sostituto);
      in += salto;
      restanti -= salto;
    }
  }
  iconv_close(cd);
  return uscita;
}

}  // namespace

QByteArray CodificaPerRegistratore(const QString& testo) {
  return converti("UTF-8", "WINDOWS-1252", testo.toUtf8(), '?');
}

QString DecodificaDaRegistratore(const QByteArray& byte) {
  return QString::fromUtf8(converti("WINDOWS-1252", "UTF-8", byte, '?'));
}

QByteArray CalcolaChecksum(const QByteArray& byte) {
  unsigned somma = 0;
  for (char c : byte) somma = (somma + static_cast<unsigned char>(c)) % 256;
  return QByteArray::number(somma % 100).rightJustified(2, '0');
}

QByteArray IncorniciaComando(const QByteArray& comando) {
  return Controllo::STX + comando + CalcolaChecksum(comando) + Controllo::ETX;
}

}  // namespace listinova
