// What the product list's files share: the module name for the log, the texts of buttons that
// wait for their hook, the busy pointer and the counter boxes.
#pragma once

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <exception>

#include "platform/db/database.h"
#include "startup/error_log.h"
#include "startup/puntatore_occupato.h"

namespace listinova::magazzino_comune {

inline constexpr char kModulo[] = "Magazzino";
inline constexpr char kProssimaVersione[] = "Disponibile in una prossima versione";
inline constexpr char kTuttiOrdinati[] = "Select * from magazzino order by descrizione";

inline void registraErrore(const char* procedura, const std::exception& errore) {
  if (const auto* db = dynamic_cast<const platform::db::DatabaseError*>(&errore))
    ScriviErrore(kModulo, procedura, db->description(), db->code());
  else
    ScriviErrore(kModulo, procedura, QString::fromUtf8(errore.what()), 0);
}

inline QLabel* contatore(const char* nome) {
  auto* etichetta = new QLabel(QStringLiteral("0"));
  etichetta->setObjectName(nome);
  etichetta->setMinimumWidth(60);
  etichetta->setFrameShape(QFrame::StyledPanel);
  etichetta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return etichetta;
}

}  // namespace listinova::magazzino_comune
