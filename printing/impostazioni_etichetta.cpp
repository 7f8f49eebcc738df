// The [Etichetta] section of the settings file.
#include "printing/impostazioni_etichetta.h"

#include "startup/modulo_file_ini.h"

namespace listinova {
namespace {

const QString kSezione = QStringLiteral("Etichetta");

QString LeggiOScrivi(const QString& percorso, const QString& chiave, const QString& predefinito) {
  const QString valore = LeggiINI(percorso, kSezione, chiave, "?");
  if (valore != "?") return valore;
  ScriviINI(percorso, kSezione, chiave, predefinito);
  return predefinito;
}

QString ChiaveSpostamento(const QString& stampante) { return "Spostamento_" + stampante; }

}  // namespace

ImpostazioniEtichetta LeggiImpostazioniEtichetta(const QString& percorso) {
  ImpostazioniEtichetta i;
  i.nomeAttivita = LeggiINI(percorso, kSezione, "NomeAttivita", "?");
  if (i.nomeAttivita == "?" || i.nomeAttivita.isEmpty()) i.nomeAttivita = kNomeAttivitaPredefinito;
  i.selezioneStandard = LeggiOScrivi(percorso, "SelezioneStandard", "Falso");
  i.opzioni.convertiInEAN =
      LeggiOScrivi(percorso, "ConvertiCodFornitoreInEAN8", "Falso").toUpper() != "FALSO";
  // A new shop prints its products' bar codes as bars.
  i.opzioni.vediBarcode = LeggiOScrivi(percorso, "VediBARCODE", "Vero").toUpper() != "FALSO";
  i.modelloFoglio = LeggiINI(percorso, kSezione, "ModelloFoglio", "?");
  if (i.modelloFoglio == "?") i.modelloFoglio.clear();
  return i;
}

void ScriviModelloFoglio(const QString& percorso, const QString& nome) {
  ScriviINI(percorso, kSezione, "ModelloFoglio", nome);
}

QPointF LeggiSpostamentoStampante(const QString& percorso, const QString& stampante) {
  if (stampante.isEmpty()) return {};
  const QStringList parti =
      LeggiINI(percorso, kSezione, ChiaveSpostamento(stampante), "?").split(';');
  if (parti.size() != 2) return {};
  bool okX = false;
  bool okY = false;
  const double x = QString(parti[0]).replace(',', '.').trimmed().toDouble(&okX);
  const double y = QString(parti[1]).replace(',', '.').trimmed().toDouble(&okY);
  return okX && okY ? QPointF(x, y) : QPointF();
}

void ScriviSpostamentoStampante(const QString& percorso, const QString& stampante, QPointF mm) {
  if (stampante.isEmpty()) return;
  ScriviINI(percorso, kSezione, ChiaveSpostamento(stampante),
            QString::number(mm.x(), 'f', 1) + ";" + QString::number(mm.y(), 'f', 1));
}

}  // namespace listinova
