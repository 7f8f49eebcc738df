#pragma once

#include <QPointF>
#include <QString>

#include "printing/testi_etichetta.h"

namespace listinova {

// Shop name used when [Etichetta] NomeAttivita is missing or empty.
inline const QString kNomeAttivitaPredefinito = QStringLiteral("MiaAttività");

// The [Etichetta] settings the label editor reads each time it refreshes its sample.
struct ImpostazioniEtichetta {
  QString nomeAttivita;
  QString selezioneStandard;
  OpzioniCodice opzioni;
  QString modelloFoglio;  // "Avery L7160"; empty for the sheet of the columns and rows boxes
};

// Missing SelezioneStandard and ConvertiCodFornitoreInEAN8 are written back as "Falso", a
// missing VediBARCODE as "Vero" (a new shop's labels carry bars); the two switches are on
// unless they read "FALSO".
ImpostazioniEtichetta LeggiImpostazioniEtichetta(const QString& percorsoSetup);
void ScriviModelloFoglio(const QString& percorsoSetup, const QString& nome);

// The correction, in millimetres (right and down), of a printer that prints a little off.
QPointF LeggiSpostamentoStampante(const QString& percorsoSetup, const QString& stampante);
void ScriviSpostamentoStampante(const QString& percorsoSetup, const QString& stampante,
                                QPointF millimetri);

}  // namespace listinova
