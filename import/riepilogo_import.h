#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <stdexcept>
#include <vector>

namespace listinova {

// An import that cannot start or had to be undone: the Italian text for the operator.
class ErroreImport : public std::runtime_error {
 public:
  explicit ErroreImport(const QString& messaggio)
      : std::runtime_error(messaggio.toStdString()), messaggio_(messaggio) {}
  const QString& messaggio() const { return messaggio_; }

 private:
  QString messaggio_;
};

// A row of the file that was not imported, and why.
struct RigaScartata {
  int riga = 0;  // 1-based, as an editor shows it
  QString motivo;
};

// What one import did, for the closing summary and the file beside the logs.
struct RiepilogoImport {
  int righeLette = 0;
  int aggiunti = 0;
  int aggiornati = 0;
  std::vector<RigaScartata> scartate;
  // Rows imported with an EAN whose last digit is wrong, to be mended in the product editor.
  std::vector<RigaScartata> cifreErrate;

  void scarta(int riga, const QString& motivo) { scartate.push_back({riga, motivo}); }
  // Notes the row when `barCode` is an EAN-8/EAN-13 with a wrong check digit.
  void controllaCifra(int riga, const QString& barCode);
  // The summary for a message box: the figures, then the first skipped rows.
  QString testo() const;
  // The whole list of skipped rows in "Importazione-<yyyy-MM-dd>.txt" in `cartella`, appended
  // so that two imports of one day both stay. Returns the path, empty when nothing was skipped
  // or the file could not be written.
  QString scriviScartate(const QString& cartella, const QDateTime& quando,
                         const QString& origine) const;
};

// How an import shows its progress; either hook may be empty.
struct SchermoImport {
  std::function<void(const QString& testo)> stato;
  std::function<void(int fatti, int totale)> avanzamento;
};

}  // namespace listinova
