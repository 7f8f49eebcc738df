#include "catalogue/marche_prodotti.h"

#include <QRegularExpression>

#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/prompts.h"
#include "startup/var_globali.h"

namespace listinova {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::db::sqlText;

constexpr int kPausaMs = 250;

// Product codes are numbers and travel as such; any other code is quoted, so that it can
// never be read as a column name.
QString codiceNumerico(const QString& codice) {
  static const QRegularExpression numero(QStringLiteral("^(0|[1-9][0-9]*)$"));
  return numero.match(codice).hasMatch() ? codice : sqlText(codice);
}

}  // namespace

QString MarcaEtichettaSuccessiva(const QString& attuale, bool perFrontalini) {
  if (!perFrontalini) return QStringLiteral("N");
  if (attuale.isEmpty() || attuale == u"N") return QStringLiteral("F");
  if (attuale == u"F") return QStringLiteral("N");
  return attuale;
}

MarcheProdotti::MarcheProdotti(platform::db::Database& db, platform::Prompts& prompts,
                               platform::Clock& clock)
    : db_(db), prompts_(prompts), clock_(clock) {}

bool MarcheProdotti::conferma(const QString& testo, bool predefinitoNo) {
  const std::optional<Answer> predefinito =
      predefinitoNo ? std::optional(Answer::No) : std::nullopt;
  return prompts_.ask({testo, Globali().TitoloProgramma, Buttons::YesNo, Icon::Question,
                       predefinito}) == Answer::Yes;
}

bool MarcheProdotti::togliModificati() {
  if (!conferma(QStringLiteral("TOGLIERE IL FLAG DI MODIFICATO A TUTTI I RECORD INTERESSATI?"),
                true))
    return false;
  db_.execute(QStringLiteral("UPDATE Magazzino SET Magazzino.Modificato = 0"));
  return true;
}

bool MarcheProdotti::segnaTuttiModificati() {
  // Marking the whole archive makes the next send of the modified products a send of them all.
  if (!conferma(QStringLiteral("Segnare come modificati TUTTI i prodotti dell'archivio?"), true))
    return false;
  db_.execute(QStringLiteral("UPDATE Magazzino SET Magazzino.Modificato =") + "-1");
  clock_.wait(kPausaMs);
  return true;
}

void MarcheProdotti::cambiaMarcaEtichetta(const QString& codMateriale, bool perFrontalini) {
  auto rs = db_.openRecordset("Select TipoVariazione from Magazzino where CodMateriale=" +
                              codiceNumerico(codMateriale));
  if (rs.eof()) return;
  rs.edit();
  rs.setText("TipoVariazione", MarcaEtichettaSuccessiva(rs.text("TipoVariazione"), perFrontalini));
  rs.update();
}

bool MarcheProdotti::chiediTogliFrontalini() {
  return conferma(
      QStringLiteral("Togliere il Flag di Frontalino da stampare a TUTTI i prodotti ? "), true);
}

bool MarcheProdotti::eliminaProdotto(const QString& codMateriale, const QString& descrizione) {
  if (!conferma("Sicuro di eliminare: " + descrizione + " ?")) return false;
  db_.execute("Delete * from magazzino where CodMateriale=" + sqlText(codMateriale));
  return true;
}

SceltaModifica MarcheProdotti::chiediModificaOCancella() {
  if (!conferma(QStringLiteral("Eliminare il PLU?"), true)) return SceltaModifica::Modifica;
  if (!conferma(QStringLiteral(
          "Sicuro di procedere alla cancellazione del PLU e di tutti i dati ad esso associati?")))
    return SceltaModifica::Nessuna;
  return SceltaModifica::Cancella;
}

void MarcheProdotti::cancellaPLU(const QString& codMateriale) {
  const QString codice = codiceNumerico(codMateriale);
  for (const QString& istruzione : {"Delete * from Magazzino where CodMateriale=" + codice,
                                    "Delete * from BarCodeUlteriori where CodProd=" + codice,
                                    "Delete * from Offerte where Articolo=" + codice}) {
    db_.execute(istruzione);
    clock_.wait(kPausaMs);
  }
}

}  // namespace listinova
