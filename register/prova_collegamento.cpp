// The connection test of the setup window: one enquiry per register, nothing else sent.
#include "register/prova_collegamento.h"

#include <QStringList>

#include "register/casse_configurate.h"
#include "register/esame_comandi.h"
#include "register/lavoro_in_corso.h"
#include "register/trasporto_registratore.h"

namespace listinova {

std::vector<EsitoProva> ProvaCollegamento(TrasportoRegistratore& t, const VarGlobali& g) {
  std::vector<EsitoProva> esiti;
  // A send pressed during the waits would share the line with the test.
  const LavoroInCorso lavoro;
  for (const CassaConfigurata& cassa : CasseConfigurate(g)) {
    // A fresh job for each register, so that a changed network address is bound anew.
    t.iniziaLavoro();
    t.cmdInitCom(cassa.indirizzo);
    const auto& risposta = t.risposta();
    t.attendi([&] { return risposta.Stato == u"ACK" || risposta.Stato == u"ERR"; },
              DriverComandi::kAttesaRispostaMs);
    const auto esito = risposta.Stato == u"ACK"   ? EsitoProva::Risposta::Ack
                       : risposta.Stato == u"ERR" ? EsitoProva::Risposta::PortaChiusa
                                                  : EsitoProva::Risposta::Nessuna;
    esiti.push_back({cassa.numero, cassa.indirizzo, esito});
  }
  return esiti;
}

QString TestoProva(const std::vector<EsitoProva>& esiti) {
  if (esiti.empty())
    return QStringLiteral(
        "Nessuna cassa configurata: impostare il Numero Porta oppure l'Indirizzo IP.");
  QStringList righe;
  for (const EsitoProva& e : esiti) {
    const QString esito = e.risposta == EsitoProva::Risposta::Ack
                              ? QStringLiteral("collegata, risponde")
                          : e.risposta == EsitoProva::Risposta::PortaChiusa
                              ? QStringLiteral("la porta seriale non si apre")
                              : QStringLiteral("nessuna risposta entro 3 secondi");
    righe << QStringLiteral("Cassa %1 (%2): %3").arg(e.numero).arg(e.indirizzo, esito);
  }
  return righe.join(u'\n');
}

}  // namespace listinova
