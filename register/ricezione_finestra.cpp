#include "register/ricezione_finestra.h"

#include <QApplication>

#include "catalogue/magazzino.h"
#include "register/collegamento_casse.h"
#include "register/frm_pswd.h"
#include "register/ricezione_plu.h"
#include "register/vendite_periodo.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {

namespace {

MetodoLettura metodoConfigurato() {
  return LeggiINI(Globali().PercorsoSetup, QStringLiteral("Acquisizione"), QStringLiteral("Metodo"),
                  "?") == u"2"
             ? MetodoLettura::Lista
             : MetodoLettura::PerProdotto;
}

}  // namespace

void CollegaRicezione(Magazzino& lista, CollegamentoCasse& casse, platform::db::Database& db,
                      platform::Prompts& prompts, platform::Clock& clock) {
  Magazzino* l = &lista;
  CollegamentoCasse* c = &casse;
  platform::db::Database* d = &db;
  platform::Prompts* p = &prompts;
  platform::Clock* o = &clock;
  const auto ricezione = [=] {
    return RicezionePlu({*d,
                         c->trasporto(),
                         c->driver(),
                         *p,
                         *o,
                         [=] { return ChiediPassword(*p, l); },
                         {[=](const QString& t) { l->mostraStato(t); },
                          [=](int valore, int massimo) { l->mostraAvanzamento(valore, massimo); },
                          [](bool si) {
                            if (si)
                              QApplication::setOverrideCursor(Qt::WaitCursor);
                            else
                              QApplication::restoreOverrideCursor();
                          }}});
  };
  lista.setRiceviPLU([=] { ricezione().cmdRiceviPLU_Click(metodoConfigurato(), l->torvane()); });
  lista.setGeneraFile([=] { ricezione().cmdGeneraFile_Click(); });
  lista.setTrovaVendite([d](const QDate& dal, const QDate& al) {
    const VenditePeriodo vendite = VenditeDelPeriodo(*d, dal, al);
    VenditeDaMostrare mostrate{{}, TestoQuantita(vendite.totaleMillesimi)};
    for (const VenditaProdotto& v : vendite.righe)
      mostrate.righe.push_back({v.ean, v.descrizione, TestoQuantita(v.millesimi)});
    return mostrate;
  });
}

}  // namespace listinova
