#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;

namespace listinova {

// The longest line a supplier's file may hold; what goes beyond is dropped and the line is
// refused, so that a file with no line ends (or a file of zero bytes) cannot take the memory.
constexpr qsizetype kRigaMassima = 64 * 1024;

// A supplier's text file read as a stream, one line at a time. A line ends at LF, CRLF or a
// lone CR (files saved on old Macs). Each line is decoded on its own: UTF-8 when it is valid,
// else Windows-1252, so a file that mixes both reads right. Control characters (a NUL, a form
// feed) become blanks.
class LettoreRighe {
 public:
  // Throws ErroreImport when the file cannot be opened.
  explicit LettoreRighe(const QString& percorso);
  explicit LettoreRighe(QIODevice& sorgente);
  ~LettoreRighe();

  // The next line into `riga`; false at the end of the file. Throws ErroreImport on a read
  // error.
  bool prossima(QString& riga);
  // The 1-based number of the line last read.
  int numero() const { return numero_; }
  // True when the line last read was longer than kRigaMassima and was cut.
  bool troppoLunga() const { return troppoLunga_; }

 private:
  bool riempi();

  std::unique_ptr<QFile> file_;
  QIODevice* sorgente_;
  QString nome_;
  QByteArray blocco_;
  qsizetype posizione_ = 0;
  bool saltaLf_ = false;  // a CR ended the last block: an LF that opens the next belongs to it
  bool fine_ = false;
  bool primoBlocco_ = true;
  int numero_ = 0;
  bool troppoLunga_ = false;
};

// The first `massimo` lines of a supplier's file (all of them when -1), read as above.
QStringList LeggiRigheFornitore(const QString& percorso, int massimo = -1);

// The text of one line's bytes as LettoreRighe gives it.
QString DecodificaRigaFornitore(QByteArrayView byte);

// VB's Mid: `lunghezza` characters from the 1-based `posizione`; shorter or empty past the end.
QString Campo(const QString& riga, int posizione, int lunghezza);

}  // namespace listinova
