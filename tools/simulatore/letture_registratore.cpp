#include "tools/simulatore/letture_registratore.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "register/protocollo_ostrel.h"

namespace listinova::simulatore {
namespace {

QByteArray unisci(const QStringList& campi) {
  return CodificaPerRegistratore(campi.join(u'/') + u'/');
}

// Numbered PLUs by number, then the ones known by barcode alone.
std::vector<PluRicevuto> inOrdine(const TabelleRegistratore& tabelle, const QString& elenco) {
  std::vector<PluRicevuto> numerati;
  std::vector<PluRicevuto> soloBarCode;
  for (const PluRicevuto& plu : tabelle.plu())
    (plu.numero.isEmpty() ? soloBarCode : numerati).push_back(plu);
  std::sort(numerati.begin(), numerati.end(), [](const PluRicevuto& a, const PluRicevuto& b) {
    return a.numero.toInt() < b.numero.toInt();
  });
  if (elenco == u"J") return numerati;
  if (elenco == u"K") return soloBarCode;
  numerati.insert(numerati.end(), soloBarCode.begin(), soloBarCode.end());
  return numerati;
}

const PluRicevuto* perBarCode(const TabelleRegistratore& tabelle, const QString& barCode) {
  for (const PluRicevuto& plu : tabelle.plu())
    if (plu.barcode == barCode) return &plu;
  return nullptr;
}

}  // namespace

void LettureRegistratore::impostaVenduto(const QString& barCode, qint64 millesimi) {
  if (millesimi == 0)
    venduti_.remove(barCode);
  else
    venduti_.insert(barCode, millesimi);
}

void LettureRegistratore::impostaVendutoTesto(const QString& barCode, const QString& testo) {
  venduti_.insert(barCode, 1);
  testi_.insert(barCode, testo);
}

QString LettureRegistratore::venduto(const QString& barCode) const {
  return testi_.contains(barCode) ? testi_.value(barCode)
                                  : QString::number(venduti_.value(barCode));
}

std::optional<QByteArray> LettureRegistratore::risposta(const QString& comando,
                                                        const TabelleRegistratore& tabelle) {
  const QStringList parti = comando.split(u'/');
  const QString tipo = parti.value(0);
  const QString argomento = parti.value(1);
  if (tipo == u"h") {
    const PluRicevuto* plu = perBarCode(tabelle, argomento);
    if (!plu) return QByteArray("07/00/00/");
    QStringList campi = {"00",         "00",        "00",       plu->barcode, plu->descrizione,
                         plu->reparto, plu->prezzo, plu->numero};
    while (campi.size() < 15) campi << "0";
    campi[torvane_ ? 12 : 8] = venduto(argomento);
    return unisci(campi);
  }
  if (tipo == u"p") {
    // The n-th PLU of the table, numbered ones first.
    const int n = argomento.toInt();
    // A dump starts from 1: the table is taken as it is then.
    std::vector<PluRicevuto>& tutti = elenchi_[QStringLiteral("p")].plu;
    if (n == 1 || tutti.empty()) tutti = inOrdine(tabelle, QStringLiteral("n"));
    if (n < 1 || n > static_cast<int>(tutti.size())) return QByteArray("07/00/00/");
    const PluRicevuto& plu = tutti[static_cast<std::size_t>(n - 1)];
    return unisci({"00", "00", "00", plu.numero, plu.barcode, plu.descrizione, plu.reparto, "0",
                   plu.prezzo, "150.00", plu.quantita, plu.flag, venduto(plu.barcode), "0", "0"});
  }
  if (comando == u"J//") return prossimo("J", tabelle, kFineLista);
  if (comando == u"K//") return prossimo("K", tabelle, kFineListaK);
  if (comando == u"n//") return prossimo("n", tabelle, kFineLista);
  return std::nullopt;
}

QByteArray LettureRegistratore::rigaLista(const PluRicevuto& plu) const {
  QStringList campi =
      torvane_ ? QStringList{"00",        "00",       "00",      plu.barcode, plu.descrizione,
                             plu.reparto, plu.prezzo, plu.numero}
               : QStringList{"00",        "00",      "00", plu.numero, plu.barcode, plu.descrizione,
                             plu.reparto, plu.prezzo};
  while (campi.size() < 16) campi << "0";
  campi[12] = venduto(plu.barcode);
  return unisci(campi);
}

// The next PLU that sold; the closing answer, after which the list starts over.
std::optional<QByteArray> LettureRegistratore::prossimo(const QString& elenco,
                                                        const TabelleRegistratore& tabelle,
                                                        QByteArray fine) {
  Elenco& e = elenchi_[elenco];
  if (e.prossimo == 0) e.plu = inOrdine(tabelle, elenco);
  while (e.prossimo < e.plu.size()) {
    const PluRicevuto& voce = e.plu[e.prossimo++];
    if (venduti_.value(voce.barcode) != 0) return rigaLista(voce);
  }
  e = Elenco{};
  return fine;
}

bool LettureRegistratore::caricaVenduti(const QString& percorso, QString& errore) {
  QFile file(percorso);
  if (!file.open(QIODevice::ReadOnly)) {
    errore = QStringLiteral("Impossibile leggere %1: %2").arg(percorso, file.errorString());
    return false;
  }
  int numero = 0;
  for (const QByteArray& riga : file.readAll().split('\n')) {
    ++numero;
    const QString testo = QString::fromUtf8(riga).trimmed();
    if (testo.isEmpty()) continue;
    if (!testo.contains(u'=')) {
      errore = QStringLiteral("%1, riga %2: usare BARCODE=MILLESIMI").arg(percorso).arg(numero);
      return false;
    }
    bool intero = false;
    const QString valore = testo.section(u'=', 1);
    const qint64 millesimi = valore.trimmed().toLongLong(&intero);
    const QString barCode = testo.section(u'=', 0, 0).trimmed();
    if (intero)
      impostaVenduto(barCode, millesimi);
    else
      impostaVendutoTesto(barCode, valore);
  }
  return true;
}

bool LettureRegistratore::caricaTabella(const QString& percorso, TabelleRegistratore& tabelle,
                                        QString& errore) {
  QFile file(percorso);
  if (!file.open(QIODevice::ReadOnly)) {
    errore = QStringLiteral("Impossibile leggere %1: %2").arg(percorso, file.errorString());
    return false;
  }
  for (const QByteArray& riga : file.readAll().split('\n'))
    tabelle.applica(QString::fromUtf8(riga).trimmed());
  return true;
}

}  // namespace listinova::simulatore
