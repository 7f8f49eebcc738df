#include "import/passa_interscambio.h"

#include "platform/program_folder.h"
#include "register/lavoro_in_corso.h"
#include "startup/modulo_file_ini.h"

namespace listinova {

QString CartellaInterscambio(const QString& percorsoSetup, const QString& cartellaProgramma) {
  const QString cartella = LeggiINI(percorsoSetup, "Cartelle", "IN", "?").trimmed();
  if (cartella.isEmpty() || cartella == u"?") return {};
  if (cartella.startsWith(QStringLiteral("C:"), Qt::CaseInsensitive))
    return platform::ProgramFolder(cartellaProgramma).path(cartella.mid(2));
  return cartella;
}

bool PassaInterscambio(Interscambio& interscambio, const QString& percorsoSetup,
                       const QString& cartellaProgramma, const SchermoImport& schermo) {
  if (LavoroInCorso::attivo()) return false;
  const QString cartella = CartellaInterscambio(percorsoSetup, cartellaProgramma);
  if (cartella.isEmpty()) return false;
  return !interscambio.ImportaInterscambio(cartella, schermo).importati.isEmpty();
}

}  // namespace listinova
