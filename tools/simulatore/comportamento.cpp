#include "tools/simulatore/comportamento.h"

namespace listinova::simulatore {

RegolaCodice RegolaCodice::perRiga(int riga, const QByteArray& codice, int volte) {
  return RegolaCodice{.riga = riga, .codice = codice, .volte = volte};
}

RegolaCodice RegolaCodice::perPrefisso(const QString& prefisso, const QByteArray& codice,
                                       int volte) {
  return RegolaCodice{.schema = QRegularExpression("^" + QRegularExpression::escape(prefisso)),
                      .codice = codice,
                      .volte = volte};
}

RegolaCodice RegolaCodice::occupatoPer(int riga, int ms) {
  return RegolaCodice{.riga = riga, .codice = "1A", .perMs = ms};
}

RegolaCodice RegolaCodice::occupato(const QString& prefisso, int volte) {
  return perPrefisso(prefisso, "1A", volte);
}

bool RegolaCodice::scegli(int rigaComando, const QString& comando) const {
  if (riga > 0) return riga == rigaComando;
  return schema.match(comando).hasMatch();
}

}  // namespace listinova::simulatore
