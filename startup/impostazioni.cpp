#include "startup/impostazioni.h"

#include <QCoreApplication>

#include "platform/program_folder.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {

QString ImpostaTitoli(const QString& percorsoSetup) {
  QString nome = LeggiINI(percorsoSetup, "Distributore", "Nome", "?");
  QString campo = nome.left(42).leftJustified(42, ' ');
  return "Distribuito da: " + campo + QString(178, ' ') + "Listinova v. " +
         QStringLiteral("%1.%2.%3")
             .arg(LISTINOVA_VERSION_MAJOR)
             .arg(LISTINOVA_VERSION_MINOR)
             .arg(LISTINOVA_VERSION_PATCH);
}

bool LeggiTastieraVisibile(const QString& percorsoSetup) {
  return LeggiINI(percorsoSetup, "Config", "TastieraVisibile", "?").toUpper() != "FALSO";
}

void LeggiImpostazioni(VarGlobali& g) {
  const QString& setup = g.PercorsoSetup;
  g.MetodoAcquisizione = LeggiINI(setup, "Acquisizione", "Metodo", "?") == "2" ? 2 : 1;
  g.BarCode = ImpostazioniSeriali::leggi(setup, "BarCode");
  g.RegCassa = ImpostazioniSeriali::leggi(setup, "RegCassa");
  auto portaAggiuntiva = [&](const char* chiave) {
    QString porta = LeggiINI(setup, "RegCassa", chiave, "?");
    return porta == "?" ? QString() : porta;
  };
  g.PortaCOM1 = portaAggiuntiva("PortaCOM1");
  g.PortaCOM2 = portaAggiuntiva("PortaCOM2");
  QString colore = LeggiINI(setup, "InterfacciaUtente", "Colore", "?");
  g.ColoreInterfaccia = 0x8000000F;
  if (colore != "?") {
    bool ok = false;
    qlonglong valore = colore.trimmed().toLongLong(&ok);
    if (ok)
      g.ColoreInterfaccia = static_cast<quint32>(valore);
    else
      ScriviErrore("Funzioni", "LeggiImpostazioni", "Colore non valido: " + colore, 13);
  }
  g.TabelleCollegate = LeggiINI(setup, "Gestione", "TabCollegate", "?").toUpper() != "FALSO";
  QString indirizzo = LeggiINI(setup, "RegCassa", "PortaETH1", "?");
  g.IndirizzoRete = indirizzo == "?" ? QString() : indirizzo;
}

bool LeggiTorvane(const QString& percorsoSetup) {
  QString valore = LeggiINI(percorsoSetup, "RegCassa", "Torvane", "?");
  if (valore == "?" || valore.isEmpty()) {
    valore = "Falso";
    ScriviINI(percorsoSetup, "RegCassa", "Torvane", valore);
  }
  return valore.toUpper() != "FALSO";
}

bool LeggiOpzioneConfig(const QString& percorsoSetup, const QString& chiave) {
  QString valore = LeggiINI(percorsoSetup, "Config", chiave, "?");
  if (valore == "?") {
    valore = "Falso";
    ScriviINI(percorsoSetup, "Config", chiave, valore);
  }
  return valore.toUpper() == "VERO";
}

void RegistraPercorsoProgramma(const QString& cartellaProgramma) {
  ScriviINI(platform::ProgramFolder::dovePrgPath(), "Listinova", "Percorso", cartellaProgramma);
}

}  // namespace listinova
