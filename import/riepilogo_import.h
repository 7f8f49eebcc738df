#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace listinova {

// A row of the file that was not imported, and why.
struct RigaScartata {
  int riga = 0;  // 1-based, as an editor shows it
  QString motivo;
};

// What one import did, for the closing summary and the file beside the logs.
struct RiepilogoImport {
  // Only so many rows are listed: a file of junk must not fill the disk with its list.
  static constexpr size_t kScartateElencate = 1000;

  int righeLette = 0;
  int aggiunti = 0;
  int aggiornati = 0;
  int codiciCatalogo = 0;              // barcode records of the central catalogue stored in B_CEDI
  std::vector<RigaScartata> scartate;  // the first kScartateElencate
  int altreScartate = 0;               // refused beyond those listed
  // Rows whose barcode an earlier row of the file already had: the later row wins.
  std::vector<RigaScartata> ripetute;
  int altreRipetute = 0;
  // Rows imported with an EAN whose last digit is wrong, to be mended in the product editor.
  std::vector<RigaScartata> cifreErrate;
  int altreCifreErrate = 0;
  // Rows imported with a choice the operator should check (a department given by default).
  std::vector<RigaScartata> avvisi;
  int altriAvvisi = 0;
  QString rifiuto;  // why the whole file was refused, when it was

  void scarta(int riga, const QString& motivo);
  void ripeti(int riga, const QString& motivo);
  void avvisa(int riga, const QString& motivo);
  // Notes the row when `barCode` is an EAN-8/EAN-13 with a wrong check digit.
  void controllaCifra(int riga, const QString& barCode);
  int numeroScartate() const { return static_cast<int>(scartate.size()) + altreScartate; }
  int numeroRipetute() const { return static_cast<int>(ripetute.size()) + altreRipetute; }
  // The figures of `parte` added to these.
  void somma(const RiepilogoImport& parte);
  // The summary for a message box: the figures, then the first skipped rows.
  QString testo() const;
  // The whole list of skipped rows in "Importazione-<yyyy-MM-dd>.txt" in `cartella`, appended
  // so that two imports of one day both stay. Returns the path, empty when there was nothing to
  // list or the file could not be written.
  QString scriviScartate(const QString& cartella, const QDateTime& quando,
                         const QString& origine) const;
};

// An import that cannot start or had to be undone: the Italian text for the operator. When
// the file was read and refused, `riepilogo` tells what was found in it.
class ErroreImport : public std::runtime_error {
 public:
  explicit ErroreImport(const QString& messaggio, std::shared_ptr<RiepilogoImport> riepilogo = {})
      : std::runtime_error(messaggio.toStdString()),
        messaggio_(messaggio),
        riepilogo_(std::move(riepilogo)) {}
  const QString& messaggio() const { return messaggio_; }
  const RiepilogoImport* riepilogo() const { return riepilogo_.get(); }

 private:
  QString messaggio_;
  std::shared_ptr<RiepilogoImport> riepilogo_;
};

// How an import shows its progress and asks; any hook may be empty.
struct SchermoImport {
  std::function<void(const QString& testo)> stato;
  std::function<void(int fatti, int totale)> avanzamento;
  // A Yes/No question, No by default; without the hook the answer is No.
  std::function<bool(const QString& domanda)> conferma;
};

}  // namespace listinova
