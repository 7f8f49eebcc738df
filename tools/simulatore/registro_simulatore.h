#pragma once

#include <QFile>
#include <QObject>
#include <QString>
#include <QTextStream>

#include "tools/simulatore/simulatore_registratore.h"

namespace listinova::simulatore {

// A text file of the line's traffic: "ricevuti: 18 18 18 05", "comando: P/51/...",
// "inviati: 06", one line each, written as it happens.
class RegistroSimulatore : public QObject {
  Q_OBJECT

 public:
  explicit RegistroSimulatore(SimulatoreRegistratore& simulatore, QObject* parent = nullptr);

  bool apri(const QString& percorso);
  QString errore() const { return file_.errorString(); }

 private:
  void scrivi(const QString& riga);

  QFile file_;
  QTextStream testo_;
};

}  // namespace listinova::simulatore
