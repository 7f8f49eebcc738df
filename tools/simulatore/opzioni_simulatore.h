#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <optional>

#include "tools/simulatore/comportamento.h"

namespace listinova::simulatore {

struct OpzioniSimulatore {
  enum class Linea { Pty, Udp };

  bool aiuto = false;
  Linea linea = Linea::Pty;
  // Not 127.0.0.1: the program on this machine answers there.
  QHostAddress indirizzo{QStringLiteral("127.0.0.2")};
  quint16 porta = 9101;
  Comportamento comportamento;
  QString registro;  // empty: no traffic file
  QString tabella;   // a PLU command file the register starts with; empty: none
  QString venduti;   // "BARCODE=MILLESIMI" lines: what the register sold
  bool torvane = false;
};

// The arguments with the program's name first; nullopt and an Italian `errore` on a mistake.
std::optional<OpzioniSimulatore> LeggiOpzioniSimulatore(const QStringList& argomenti,
                                                        QString& errore);
QString TestoAiutoSimulatore();

}  // namespace listinova::simulatore
