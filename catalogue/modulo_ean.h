#pragma once

#include <QString>

namespace listinova {

// Bar codes drawn with the "Code EAN13" font: each character of the returned text is one
// symbol of that font (guards, and the digits in their A, B or C sets).

// `codice` holds 7 digits; on success it gains its check digit and the font text is returned.
// Anything else gives an empty text and leaves `codice` as it was.
QString CodificaEAN8(QString& codice);
// The same for 12 digits.
QString CodificaEAN13(QString& codice);

// The font text of a stored code of 8 or 13 characters; its last digit is recomputed, never
// trusted. Empty for any other code.
QString TestoEANPerCodice(const QString& codice);

// For a code of 8 or 13 digits, the same code with its right check digit (equal to `codice`
// when its digit is right); empty for anything that is not an EAN-8 or EAN-13.
QString CodiceEANCorretto(const QString& codice);

// The 8 or 13 digits a font text draws; empty when the text is not one CodificaEAN8 or
// CodificaEAN13 could have produced.
QString DigitiDaTestoEAN(const QString& testoFont);

}  // namespace listinova
