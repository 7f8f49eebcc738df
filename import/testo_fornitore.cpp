#include "import/testo_fornitore.h"

#include <QIODevice>
#include <cstring>

#include "import/riepilogo_import.h"
#include "platform/cp1252.h"

namespace listinova {
namespace {

// Read in blocks of this size: memory stays flat whatever the size of the file.
constexpr qint64 kBlocco = 256 * 1024;

bool soloAscii(QByteArrayView byte) {
  for (char c : byte)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

QString DecodificaRigaFornitore(QByteArrayView byte) {
  QString testo = soloAscii(byte) ? QString::fromLatin1(byte) : platform::decodeTextLine(byte);
  for (QChar& c : testo) {
    const char16_t u = c.unicode();
    if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) c = u' ';
  }
  return testo;
}

LettoreRighe::LettoreRighe(const QString& percorso)
    : file_(std::make_unique<QFile>(percorso)), sorgente_(file_.get()), nome_(percorso) {
  if (!file_->open(QIODevice::ReadOnly))
    throw ErroreImport(QStringLiteral("Impossibile leggere il file \"%1\".").arg(percorso));
}

LettoreRighe::LettoreRighe(QIODevice& sorgente) : sorgente_(&sorgente) {}

LettoreRighe::~LettoreRighe() = default;

bool LettoreRighe::riempi() {
  if (fine_) return false;
  blocco_.resize(kBlocco);
  const qint64 letti = sorgente_->read(blocco_.data(), kBlocco);
  if (letti < 0)
    throw ErroreImport(QStringLiteral("Lettura del file \"%1\" non riuscita.").arg(nome_));
  blocco_.resize(letti);
  posizione_ = 0;
  if (letti == 0) fine_ = true;
  if (primoBlocco_ && blocco_.startsWith("\xEF\xBB\xBF")) posizione_ = 3;
  primoBlocco_ = false;
  return letti > 0;
}

bool LettoreRighe::prossima(QString& riga) {
  QByteArray byte;
  troppoLunga_ = false;
  bool qualcosa = false;  // a line is there, even an empty one
  for (;;) {
    if (posizione_ >= blocco_.size() && !riempi()) break;
    if (saltaLf_) {
      saltaLf_ = false;
      if (blocco_[posizione_] == '\n' && ++posizione_ >= blocco_.size()) continue;
    }
    const char* inizio = blocco_.constData() + posizione_;
    const qsizetype resto = blocco_.size() - posizione_;
    const auto* lf = static_cast<const char*>(std::memchr(inizio, '\n', resto));
    const auto* cr = static_cast<const char*>(std::memchr(inizio, '\r', lf ? lf - inizio : resto));
    const char* fineRiga = cr ? cr : lf;
    const qsizetype lunghezza = fineRiga ? fineRiga - inizio : resto;
    const qsizetype posto = kRigaMassima - byte.size();
    if (lunghezza > posto) troppoLunga_ = true;
    byte.append(inizio, std::min(lunghezza, std::max<qsizetype>(posto, 0)));
    qualcosa = true;
    if (!fineRiga) {
      posizione_ = blocco_.size();
      continue;
    }
    posizione_ += lunghezza + 1;
    if (cr) {
      if (posizione_ < blocco_.size()) {
        if (blocco_[posizione_] == '\n') ++posizione_;
      } else {
        saltaLf_ = true;
      }
    }
    break;
  }
  if (!qualcosa) return false;
  ++numero_;
  riga = DecodificaRigaFornitore(byte);
  return true;
}

QStringList LeggiRigheFornitore(const QString& percorso, int massimo) {
  LettoreRighe lettore(percorso);
  QStringList righe;
  QString riga;
  while ((massimo < 0 || righe.size() < massimo) && lettore.prossima(riga)) righe << riga;
  return righe;
}

QString Campo(const QString& riga, int posizione, int lunghezza) {
  return riga.mid(posizione - 1, lunghezza);
}

}  // namespace listinova
