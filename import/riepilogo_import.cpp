#include "import/riepilogo_import.h"

#include <QDir>
#include <QFile>

#include "platform/whole_file.h"

#include "catalogue/modulo_ean.h"

namespace listinova {
namespace {

// A message box shows only the first few; the rest are in the file.
constexpr size_t kScartateMostrate = 10;

}  // namespace

QString RiepilogoImport::testo() const {
  QString t = QStringLiteral(
                  "Righe lette: %1\nProdotti aggiunti: %2\nProdotti aggiornati: %3\n"
                  "Righe scartate: %4")
                  .arg(righeLette)
                  .arg(aggiunti)
                  .arg(aggiornati)
                  .arg(scartate.size());
  for (size_t i = 0; i < scartate.size() && i < kScartateMostrate; ++i)
    t += QStringLiteral("\n  riga %1: %2").arg(scartate[i].riga).arg(scartate[i].motivo);
  if (scartate.size() > kScartateMostrate)
    t += QStringLiteral("\n  ... e altre %1").arg(scartate.size() - kScartateMostrate);
  if (!cifreErrate.empty())
    t += QStringLiteral("\nCodici con la cifra di controllo errata: %1").arg(cifreErrate.size());
  for (size_t i = 0; i < cifreErrate.size() && i < kScartateMostrate; ++i)
    t += QStringLiteral("\n  riga %1: %2").arg(cifreErrate[i].riga).arg(cifreErrate[i].motivo);
  return t;
}

void RiepilogoImport::controllaCifra(int riga, const QString& barCode) {
  const QString corretto = CodiceEANCorretto(barCode);
  if (!corretto.isEmpty() && corretto != barCode)
    cifreErrate.push_back(
        {riga, QStringLiteral("Cifra di controllo errata: il codice corretto è %1 (importato %2)")
                   .arg(corretto, barCode)});
}

QString RiepilogoImport::scriviScartate(const QString& cartella, const QDateTime& quando,
                                        const QString& origine) const {
  if (scartate.empty()) return {};
  QDir().mkpath(cartella);
  const QString percorso =
      QDir(cartella).filePath("Importazione-" + quando.toString("yyyy-MM-dd") + ".txt");
  // The day's summary grows by a block per import, rewritten whole each time.
  QFile esistente(percorso);
  QByteArray contenuto = esistente.open(QIODevice::ReadOnly) ? esistente.readAll() : QByteArray();
  esistente.close();
  QString blocco = quando.toString("dd/MM/yyyy HH:mm:ss") + " - " + origine + "\n";
  for (const RigaScartata& s : scartate)
    blocco += QStringLiteral("  riga %1: %2\n").arg(s.riga).arg(s.motivo);
  contenuto += blocco.toUtf8();
  return platform::writeWholeFile(percorso, contenuto).isEmpty() ? percorso : QString();
}

}  // namespace listinova
