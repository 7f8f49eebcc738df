// What the setup window reads when it opens and writes when the operator applies.
#include "programma/setup_cassa.h"

#include <QStringList>

#include "startup/impostazioni.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

// A value as the window shows it: empty for an absent key.
QString impostato(const QString& setup, const QString& sezione, const QString& chiave) {
  const QString valore = LeggiINI(setup, sezione, chiave, QStringLiteral("?"));
  return valore == u"?" ? QString() : valore;
}

// Rewriting a value the file already holds would only reformat its line.
void scrivi(const QString& setup, const QString& sezione, const QString& chiave,
            const QString& valore) {
  // A default no file holds, so that an absent key is told from one holding "?".
  const QString kAssente = QStringLiteral("\u0001");
  if (LeggiINI(setup, sezione, chiave, kAssente) == valore) return;
  ScriviINI(setup, sezione, chiave, valore);
}

// Four empty boxes are no address; otherwise each must be a number up to 255, or the register
// would be taken for a serial port.
std::optional<QString> indirizzoIp(const std::array<QString, 4>& caselle) {
  const QString unito = QStringList(caselle.begin(), caselle.end()).join(u'.');
  if (unito == u"...") return QStringLiteral("?");
  for (const QString& casella : caselle) {
    bool numero = false;
    if (casella.toInt(&numero) > 255 || !numero) return std::nullopt;
  }
  return unito;
}

}  // namespace

ValoriSetupCassa LeggiSetupCassa(VarGlobali& g) {
  const QString& setup = g.PercorsoSetup;
  ValoriSetupCassa v;
  v.metodoLento = g.MetodoAcquisizione == 1;
  v.metodoVeloce = !v.metodoLento;
  ScriviINI(setup, "Acquisizione", "Metodo", v.metodoLento ? "1" : "2");
  v.nomeAttivita = impostato(setup, "Etichetta", "NomeAttivita");
  if (v.nomeAttivita.isEmpty()) v.nomeAttivita = kNomeAttivitaPredefinito;
  v.torvane = LeggiTorvane(setup);
  v.stampanteA4 = impostato(setup, "STdiSISTEMA", "Predefinita");
  v.stampanteEtichette = impostato(setup, "STdiSISTEMA", "xFrontalini");
  v.cartellaIn = impostato(setup, "Cartelle", "IN");
  v.cartellaOut = impostato(setup, "Cartelle", "OUT");
  v.databaseEsterno = impostato(setup, "DatabaseEsterno", "Quale");
  const QStringList parti = impostato(setup, "RegCassa", "PortaETH1").split(u'.');
  if (parti.size() > 1)
    for (qsizetype i = 0; i < std::min<qsizetype>(parti.size(), 4); ++i) v.ip[i] = parti[i];
  v.immagineSfondo = impostato(setup, "InterfacciaUtente", "ImgSfondo");
  v.colore = g.ColoreInterfaccia;
  return v;
}

QString MessaggioSetup(EsitoSetup esito) {
  switch (esito) {
    case EsitoSetup::DueMetodi:
      return QStringLiteral("Effettuare una sola selezione per il metodo di acquisizione PLU");
    case EsitoSetup::IndirizzoNonValido:
      return QStringLiteral(
          "Indirizzo IP non valido: scrivere un numero da 0 a 255 in tutte e quattro le "
          "caselle, oppure lasciarle tutte vuote.");
    case EsitoSetup::Salvato:
      break;
  }
  return {};
}

EsitoSetup SalvaSetupCassa(const ValoriSetupCassa& v, VarGlobali& g) {
  if (v.metodoLento && v.metodoVeloce) return EsitoSetup::DueMetodi;
  const std::optional<QString> ip = indirizzoIp(v.ip);
  if (!ip) return EsitoSetup::IndirizzoNonValido;

  const QString& setup = g.PercorsoSetup;
  const auto prendi = [](const std::optional<QString>& scelta, QString& inMemoria) {
    if (scelta) inMemoria = *scelta;
  };
  ImpostazioniSeriali& r = g.RegCassa;
  prendi(v.portaCom, r.porta);
  prendi(v.portaCom1, g.PortaCOM1);
  prendi(v.portaCom2, g.PortaCOM2);
  prendi(v.velocita, r.velocita);
  prendi(v.bitDati, r.bitDati);
  prendi(v.parita, r.parita);
  prendi(v.bitStop, r.bitStop);
  prendi(v.flusso, r.flusso);
  const std::pair<const char*, QString> registratore[] = {
      {"PortaCOM", r.porta},
      {"PortaCOM1", g.PortaCOM1},
      {"PortaCOM2", g.PortaCOM2},
      {"VelocitaCOM", r.velocita},
      {"BitDatiCOM", r.bitDati},
      {"ParitaDatiCOM", r.parita},
      {"BitStopDatiCOM", r.bitStop},
      {"FlussoDatiCOM", r.flusso},
      {"Modello", g.ModelloRegistratore},
  };
  for (const auto& [chiave, valore] : registratore) scrivi(setup, "RegCassa", chiave, valore);
  scrivi(setup, "Cartelle", "IN", v.cartellaIn);
  scrivi(setup, "Cartelle", "OUT", v.cartellaOut);
  scrivi(setup, "Acquisizione", "Metodo", v.metodoLento || !v.metodoVeloce ? "1" : "2");
  scrivi(setup, "Etichetta", "NomeAttivita",
         v.nomeAttivita.isEmpty() ? kNomeAttivitaPredefinito : v.nomeAttivita);
  scrivi(setup, "DatabaseEsterno", "Quale", v.databaseEsterno);
  // Signed, as the settings have always held the system colours (0x8000000F is -2147483633).
  scrivi(setup, "InterfacciaUtente", "Colore", QString::number(static_cast<qint32>(v.colore)));
  scrivi(setup, "InterfacciaUtente", "ImgSfondo",
         v.immagineSfondo.isEmpty() ? QStringLiteral("?") : v.immagineSfondo);
  scrivi(setup, "RegCassa", "PortaETH1", *ip);

  LeggiImpostazioni(g);
  return EsitoSetup::Salvato;
}

void SalvaTorvane(const QString& percorsoSetup, bool torvane) {
  ScriviINI(percorsoSetup, "RegCassa", "Torvane", torvane ? "Vero" : "Falso");
}

quint32 ValoreColore(int rosso, int verde, int blu) {
  return static_cast<quint32>(rosso) | static_cast<quint32>(verde) << 8 |
         static_cast<quint32>(blu) << 16;
}

}  // namespace listinova
