#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace listinova::simulatore {

// A PLU as the program sent it: "P/number/barcode/..." or "A/barcode/..." (no number).
struct PluRicevuto {
  QString numero;  // empty for an A/ record
  QString barcode;
  QString descrizione;
  QString reparto;
  QString prezzo;
  QString quantita;
  QString flag;
  QStringList campi;  // every field after the record letter, as sent
};

// What the register holds after the commands it accepted: PLUs keyed by number (P/) or
// barcode (A/), departments keyed by their first field (D/).
class TabelleRegistratore {
 public:
  void applica(const QString& comando);

  const QMap<QString, PluRicevuto>& plu() const { return plu_; }
  const QMap<QString, QStringList>& reparti() const { return reparti_; }

 private:
  QMap<QString, PluRicevuto> plu_;
  QMap<QString, QStringList> reparti_;
};

}  // namespace listinova::simulatore
