#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace listinova {

// Text as a supplier's file holds it: UTF-8 (with or without the byte-order mark) when every
// byte sequence is valid UTF-8, else Windows-1252, decided once for the whole file.
QString DecodificaTestoFornitore(const QByteArray& contenuto);

// The lines of a supplier's file, without their ends. Throws ErroreImport when it cannot be
// read.
QStringList LeggiRigheFornitore(const QString& percorso);

// VB's Mid: `lunghezza` characters from the 1-based `posizione`; shorter or empty past the end.
QString Campo(const QString& riga, int posizione, int lunghezza);

}  // namespace listinova
