#pragma once

#include <QIcon>
#include <QString>

class QWidget;

namespace listinova {

// Gives every push button of `window` whose caption is a known command ("&Modifica...",
// "Chiudi", ...) its icon and a width that fits it; other buttons stay as they are.
void ImpostaIconePulsanti(QWidget* window);

// "open", "edit", ... for a known caption; empty otherwise.
QString chiaveIcona(const QString& caption);

// One of the program's own icons by file name without ".svg" ("magazzino", "esci").
QIcon iconaProgramma(const QString& nome);

}  // namespace listinova
