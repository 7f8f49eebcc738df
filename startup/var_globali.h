#pragma once

#include <QColor>
#include <QString>
#include <memory>

#include "startup/modulo_file_ini.h"

namespace listinova {
namespace platform::db {
class Database;
}

// Program-wide state: set at start, read everywhere, alive for the whole run.
struct VarGlobali {
  QString TitoloProgramma = "Listinova";
  QString CartellaProgramma;
  QString PercorsoSetup;
  QString ModelloRegistratore = "OSTREL";
  QString TitoloFinestre;
  bool TastieraVisibile = true;
  int MetodoAcquisizione = 1;
  // The system colour of button faces until the settings name another.
  quint32 ColoreInterfaccia = 0x8000000F;
  bool TabelleCollegate = false;
  QString IndirizzoRete;  // [RegCassa] PortaETH1
  ImpostazioniSeriali BarCode;
  ImpostazioniSeriali RegCassa;
  QString PortaCOM1;  // second register
  QString PortaCOM2;  // third register
  std::shared_ptr<platform::db::Database> Archivio;
};

VarGlobali& Globali();

// A settings colour value (red in the low byte; the high bit names a system colour).
QColor ColoreDaValore(quint32 valore);

}  // namespace listinova
