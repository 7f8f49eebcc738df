#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <vector>

namespace listinova::simulatore {

// A result code the simulated register gives instead of "00". A rule picks its commands by
// line (the program's 1-based line: a resent command that did not succeed keeps its line) or,
// without a line, by pattern; with neither it picks every command.
struct RegolaCodice {
  static constexpr int Sempre = -1;

  int riga = 0;
  QRegularExpression schema;
  // Two hex digits, such as "2C"; a faulty register's two other bytes ("ZZ", two NULs) as
  // well. Any other length is the whole body of the answer ("" an empty one).
  QByteArray codice;
  int volte = 1;  // how many answers carry the code before "00" comes back, or Sempre
  int perMs = 0;  // when set, instead of `volte`: for this long after the first such answer

  static RegolaCodice perRiga(int riga, const QByteArray& codice, int volte = 1);
  // Busy (1A) at line `riga` for `ms` milliseconds, then the command goes through.
  static RegolaCodice occupatoPer(int riga, int ms);
  static RegolaCodice perPrefisso(const QString& prefisso, const QByteArray& codice, int volte = 1);
  // Busy (1A) `volte` times, then the command goes through.
  static RegolaCodice occupato(const QString& prefisso, int volte);

  bool scegli(int rigaComando, const QString& comando) const;
};

// How the simulated register misbehaves; it can change while the simulator runs.
struct Comportamento {
  bool silenzioso = false;           // answers nothing at all
  bool silenziosoAiComandi = false;  // acknowledges enquiries, never answers a frame
  int ritardoMs = 0;                 // wait before each result frame, as while printing
  bool spezza = false;               // result frames go out in several small writes
  bool rumore = false;               // stray bytes before each result frame
  bool checksumErrato = false;       // result frames carry a wrong checksum
  // Each result frame goes out first as this code with a wrong checksum; the true one follows
  // the program's NAK, as a line that spoilt the first copy.
  QByteArray corrottoPrima;
  bool eco = false;     // every command frame is sent back as it came, before the answer
  bool doppio = false;  // every result frame goes out twice, as a doubled datagram
  // Once it has answered a reading with data, it gives that answer to every later reading
  // question, as a register whose list is stuck.
  bool ripete = false;
  std::vector<RegolaCodice> codici;  // the first rule that picks a command and is not spent wins
};

}  // namespace listinova::simulatore
