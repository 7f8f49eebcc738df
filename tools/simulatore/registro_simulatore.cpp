#include "tools/simulatore/registro_simulatore.h"

namespace listinova::simulatore {
namespace {

QString esadecimale(const QByteArray& byte) { return QString::fromLatin1(byte.toHex(' ')); }

}  // namespace

RegistroSimulatore::RegistroSimulatore(SimulatoreRegistratore& simulatore, QObject* parent)
    : QObject(parent) {
  connect(&simulatore, &SimulatoreRegistratore::byteRicevuti, this,
          [this](const QByteArray& byte) { scrivi("ricevuti: " + esadecimale(byte)); });
  connect(&simulatore, &SimulatoreRegistratore::comandoRicevuto, this,
          [this](const QString& comando) { scrivi("comando: " + comando); });
  connect(&simulatore, &SimulatoreRegistratore::inviaByte, this,
          [this](const QByteArray& byte) { scrivi("inviati: " + esadecimale(byte)); });
}

bool RegistroSimulatore::apri(const QString& percorso) {
  file_.setFileName(percorso);
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
  testo_.setDevice(&file_);
  return true;
}

// Flushed line by line so the file can be read while the simulator runs.
void RegistroSimulatore::scrivi(const QString& riga) {
  if (!file_.isOpen()) return;
  testo_ << riga << Qt::endl;
}

}  // namespace listinova::simulatore
