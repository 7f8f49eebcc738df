#pragma once

#include <QString>

namespace listinova {

// The register's result codes. `campoCodice` is read as hexadecimal ("" counts 0) and
// replaced by its decimal value ("0A" -> "10"); `descrizione` gets the message. Returns the
// severity class: 0 go on, 1 busy (repeat), 2 refused (skip), 4 operator must act,
// 9 grave device fault. Codes outside the table give "" and class 0.
int DescrizioneErrore(QString& campoCodice, QString& descrizione);

}  // namespace listinova
