// Reads arbitrary bytes as a settings file, then writes a key into it and reads it back:
// whatever the file holds, a value written must be the value read.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/profile_file.h"

namespace {

using listinova::platform::readProfileString;
using listinova::platform::writeProfileString;

const QString& cartella() {
  static QTemporaryDir* dir = new QTemporaryDir;
  static const QString path = dir->path();
  return path;
}

void scrivi(const QString& percorso, const uint8_t* data, size_t size) {
  QFile file(percorso);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString percorso = cartella() + QStringLiteral("/Setup.ini");
  scrivi(percorso, data, size);
  const struct {
    const char* sezione;
    const char* chiave;
  } letture[] = {{"Config", "TastieraVisibile"},
                 {"RegCassa", "PortaCOM"},
                 {"Distributore", "Nome"},
                 {"", ""},
                 {"IVA KELTRANO", "Reparto1"}};
  for (const auto& l : letture)
    (void)readProfileString(percorso, QString::fromUtf8(l.sezione), QString::fromUtf8(l.chiave),
                            QStringLiteral("?"));

  const QString valore = QStringLiteral("Caffè Città 9600,n,8,1");
  if (writeProfileString(percorso, QStringLiteral("RegCassa"), QStringLiteral("PortaETH1"),
                         valore) &&
      readProfileString(percorso, QStringLiteral("RegCassa"), QStringLiteral("PortaETH1"),
                        QStringLiteral("?")) != valore)
    std::abort();
  return 0;
}
