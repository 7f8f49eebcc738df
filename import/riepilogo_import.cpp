#include "import/riepilogo_import.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

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
  if (avvisi.empty()) return t;
  t += QStringLiteral("\nRighe da controllare: %1").arg(avvisi.size());
  for (size_t i = 0; i < avvisi.size() && i < kScartateMostrate; ++i)
    t += QStringLiteral("\n  riga %1: %2").arg(avvisi[i].riga).arg(avvisi[i].motivo);
  if (avvisi.size() > kScartateMostrate)
    t += QStringLiteral("\n  ... e altre %1").arg(avvisi.size() - kScartateMostrate);
  return t;
}

QString RiepilogoImport::scriviScartate(const QString& cartella, const QDateTime& quando,
                                        const QString& origine) const {
  if (scartate.empty()) return {};
  QDir().mkpath(cartella);
  const QString percorso =
      QDir(cartella).filePath("Importazione-" + quando.toString("yyyy-MM-dd") + ".txt");
  QFile file(percorso);
  if (!file.open(QIODevice::Append | QIODevice::Text)) return {};
  QTextStream out(&file);
  out << quando.toString("dd/MM/yyyy HH:mm:ss") << " - " << origine << "\n";
  for (const RigaScartata& s : scartate) out << "  riga " << s.riga << ": " << s.motivo << "\n";
  out.flush();
  return file.error() == QFile::NoError ? percorso : QString();
}

}  // namespace listinova
