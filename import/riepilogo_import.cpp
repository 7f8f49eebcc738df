#include "import/riepilogo_import.h"

#include <QDir>
#include <QFile>

#include "platform/whole_file.h"

#include "catalogue/modulo_ean.h"

namespace listinova {
namespace {

// A message box shows only the first few; the rest are in the file.
constexpr size_t kScartateMostrate = 10;

void elenca(QString& t, const std::vector<RigaScartata>& righe, int altre) {
  for (size_t i = 0; i < righe.size() && i < kScartateMostrate; ++i)
    t += QStringLiteral("\n  riga %1: %2").arg(righe[i].riga).arg(righe[i].motivo);
  const int nascoste = static_cast<int>(righe.size() - std::min(righe.size(), kScartateMostrate));
  if (nascoste + altre > 0) t += QStringLiteral("\n  ... e altre %1").arg(nascoste + altre);
}

void aggiungi(std::vector<RigaScartata>& elenco, int& altre, int riga, const QString& motivo) {
  if (elenco.size() < RiepilogoImport::kScartateElencate)
    elenco.push_back({riga, motivo});
  else
    ++altre;
}

}  // namespace

void RiepilogoImport::scarta(int riga, const QString& motivo) {
  aggiungi(scartate, altreScartate, riga, motivo);
}

void RiepilogoImport::ripeti(int riga, const QString& motivo) {
  aggiungi(ripetute, altreRipetute, riga, motivo);
}

void RiepilogoImport::avvisa(int riga, const QString& motivo) {
  aggiungi(avvisi, altriAvvisi, riga, motivo);
}

void RiepilogoImport::somma(const RiepilogoImport& parte) {
  righeLette += parte.righeLette;
  aggiunti += parte.aggiunti;
  aggiornati += parte.aggiornati;
  codiciCatalogo += parte.codiciCatalogo;
  for (const RigaScartata& s : parte.scartate) scarta(s.riga, s.motivo);
  altreScartate += parte.altreScartate;
  for (const RigaScartata& s : parte.ripetute) ripeti(s.riga, s.motivo);
  altreRipetute += parte.altreRipetute;
  for (const RigaScartata& s : parte.cifreErrate)
    aggiungi(cifreErrate, altreCifreErrate, s.riga, s.motivo);
  altreCifreErrate += parte.altreCifreErrate;
  for (const RigaScartata& s : parte.avvisi) avvisa(s.riga, s.motivo);
  altriAvvisi += parte.altriAvvisi;
}

QString RiepilogoImport::testo() const {
  QString t;
  if (!rifiuto.isEmpty()) t = rifiuto + "\n";
  t += QStringLiteral(
           "Righe lette: %1\nProdotti aggiunti: %2\nProdotti aggiornati: %3\n"
           "Righe scartate: %4")
           .arg(righeLette)
           .arg(aggiunti)
           .arg(aggiornati)
           .arg(numeroScartate());
  elenca(t, scartate, altreScartate);
  if (!cifreErrate.empty()) {
    t += QStringLiteral("\nCodici con la cifra di controllo errata: %1")
             .arg(cifreErrate.size() + altreCifreErrate);
    elenca(t, cifreErrate, altreCifreErrate);
  }
  if (codiciCatalogo > 0)
    t += QStringLiteral("\nCodici a barre del catalogo registrati: %1").arg(codiciCatalogo);
  if (numeroRipetute() > 0) {
    t += QStringLiteral("\nCodici a barre ripetuti (vale l'ultima riga): %1").arg(numeroRipetute());
    elenca(t, ripetute, altreRipetute);
  }
  if (!avvisi.empty()) {
    t += QStringLiteral("\nRighe da controllare: %1").arg(avvisi.size() + altriAvvisi);
    elenca(t, avvisi, altriAvvisi);
  }
  return t;
}

void RiepilogoImport::controllaCifra(int riga, const QString& barCode) {
  const QString corretto = CodiceEANCorretto(barCode);
  if (!corretto.isEmpty() && corretto != barCode)
    aggiungi(cifreErrate, altreCifreErrate, riga,
             QStringLiteral("Cifra di controllo errata: il codice corretto è %1 (importato %2)")
                 .arg(corretto, barCode));
}

QString RiepilogoImport::scriviScartate(const QString& cartella, const QDateTime& quando,
                                        const QString& origine) const {
  if (scartate.empty() && ripetute.empty() && rifiuto.isEmpty()) return {};
  QDir().mkpath(cartella);
  const QString percorso =
      QDir(cartella).filePath("Importazione-" + quando.toString("yyyy-MM-dd") + ".txt");
  // The day's summary grows by a block per import, rewritten whole each time.
  QFile esistente(percorso);
  QByteArray contenuto = esistente.open(QIODevice::ReadOnly) ? esistente.readAll() : QByteArray();
  esistente.close();
  QString blocco = quando.toString("dd/MM/yyyy HH:mm:ss") + " - " + origine + "\n";
  if (!rifiuto.isEmpty()) blocco += "  " + rifiuto + "\n";
  for (const RigaScartata& s : scartate)
    blocco += QStringLiteral("  riga %1: %2\n").arg(s.riga).arg(s.motivo);
  if (altreScartate > 0)
    blocco += QStringLiteral("  ... e altre %1 righe scartate\n").arg(altreScartate);
  for (const RigaScartata& s : ripetute)
    blocco += QStringLiteral("  riga %1: %2\n").arg(s.riga).arg(s.motivo);
  if (altreRipetute > 0)
    blocco += QStringLiteral("  ... e altri %1 codici ripetuti\n").arg(altreRipetute);
  contenuto += blocco.toUtf8();
  return platform::writeWholeFile(percorso, contenuto).isEmpty() ? percorso : QString();
}

}  // namespace listinova
