#include "tools/simulatore/tabelle_registratore.h"

namespace listinova::simulatore {
namespace {

// The fields after the record letter; the slash closing the record makes no field.
QStringList campiDi(const QString& comando) {
  QStringList campi = comando.split('/').mid(1);
  if (!campi.isEmpty() && campi.last().isEmpty()) campi.removeLast();
  return campi;
}

// `campi` starts at the barcode: barcode/description/department/0/price/150.00/qty/flags.
PluRicevuto pluDa(const QString& numero, const QStringList& campi, const QStringList& tutti) {
  return PluRicevuto{.numero = numero,
                     .barcode = campi.value(0),
                     .descrizione = campi.value(1),
                     .reparto = campi.value(2),
                     .prezzo = campi.value(4),
                     .quantita = campi.value(6),
                     .flag = campi.value(7),
                     .campi = tutti};
}

}  // namespace

void TabelleRegistratore::applica(const QString& comando) {
  const QStringList campi = campiDi(comando);
  if (campi.isEmpty()) return;
  if (comando.startsWith("P/"))
    plu_.insert(campi[0], pluDa(campi[0], campi.mid(1), campi));
  else if (comando.startsWith("A/"))
    plu_.insert(campi[0], pluDa({}, campi, campi));
  else if (comando.startsWith("D/"))
    reparti_.insert(campi[0], campi);
}

}  // namespace listinova::simulatore
