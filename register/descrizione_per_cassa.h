#pragma once

#include <QString>

namespace listinova {

// Every character below 32 (and DEL) as a blank: a line feed would split a record in two
// commands, an ETX would end the frame in the middle.
QString SenzaCaratteriDiControllo(QString testo);

// The register shows 20 characters and chokes on some: "/" separates the PLU record's fields,
// the others are control characters of its keyboard language. "+" and "-" are spelt out.
QString DescrizionePerCassa(const QString& descrizione);

// The description once more as the PLU record holds it: no field separator, no apostrophe,
// a point for the comma, 20 characters.
QString DescrizioneNelRecordPlu(const QString& descrizione);

}  // namespace listinova
