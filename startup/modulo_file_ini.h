#pragma once

#include <QString>

#include "platform/serial_port.h"

namespace listinova {

// Profile-string access to Setup.ini and DovePrg.ini. Readers pass "?" as the default.
QString LeggiINI(const QString& file, const QString& section, const QString& key,
                 const QString& defaultValue);
// Line breaks in the value become blanks; file, section and key are created as needed.
void ScriviINI(const QString& file, const QString& section, const QString& key,
               const QString& value);
QString LetteraParita(const QString& word);

enum class ControlloFlusso { Nessuno, Hardware, XonXoff };

// One serial device of the settings file; every text as stored.
struct ImpostazioniSeriali {
  QString porta;
  QString velocita = "9600";
  QString bitDati = "8";
  QString parita = "Nessuna";
  QString bitStop = "1";
  QString flusso = "Nessuno";

  // Reads the six keys of the section, each absent key taking its default.
  static ImpostazioniSeriali leggi(const QString& file, const QString& section);
  // "9600,n,8,1"
  QString testoImpostazioni() const;
  ControlloFlusso controlloFlusso() const;
  // The same word as the serial line takes it.
  platform::FlowControl flussoPorta() const;
};

}  // namespace listinova
