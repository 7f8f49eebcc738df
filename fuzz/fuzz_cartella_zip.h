// What the .xlsx and .ods harnesses share: a temporary file for each input, a zip built around
// the fuzzed XML (mutating deflated bytes rarely gets past the zip layer), and the reading of
// every sheet, where the only allowed failure is WorkbookError.
#pragma once

#include <zip.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <list>
#include <utility>
#include <vector>

#include "platform/workbook_reader.h"

namespace listinova::fuzz {

inline const QString& cartella() {
  static QTemporaryDir* dir = new QTemporaryDir;
  static const QString path = dir->path();
  return path;
}

inline void scriviFile(const QString& percorso, const QByteArray& contenuto) {
  QFile file(percorso);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(contenuto);
}

inline void scriviZip(const QString& percorso,
                      const std::vector<std::pair<const char*, QByteArray>>& parti) {
  int errore = 0;
  zip_t* zip = zip_open(percorso.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
  if (!zip) std::abort();
  std::list<QByteArray> tenuti;
  for (const auto& [nome, contenuto] : parti) {
    tenuti.push_back(contenuto);
    zip_source_t* s = zip_source_buffer(zip, tenuti.back().constData(),
                                        static_cast<zip_uint64_t>(tenuti.back().size()), 0);
    if (!s || zip_file_add(zip, nome, s, ZIP_FL_OVERWRITE) < 0) std::abort();
  }
  if (zip_close(zip) != 0) std::abort();
}

// Input that starts as a zip is used as it is; any other is the XML of `parte`, and a NUL
// splits off the XML of `seconda` (when given).
inline QString preparaCartella(const uint8_t* data, size_t size, const char* nomeFile,
                               std::vector<std::pair<const char*, QByteArray>> fisse,
                               const char* parte, const char* seconda = nullptr) {
  const QByteArray byte(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString percorso = cartella() + "/" + QString::fromUtf8(nomeFile);
  if (byte.startsWith("PK")) {
    scriviFile(percorso, byte);
    return percorso;
  }
  const qsizetype nul = byte.indexOf('\0');
  fisse.push_back({parte, nul < 0 ? byte : byte.left(nul)});
  if (seconda && nul >= 0) fisse.push_back({seconda, byte.mid(nul + 1)});
  scriviZip(percorso, fisse);
  return percorso;
}

inline void leggiTutto(const QString& percorso) {
  try {
    auto cartella = platform::openWorkbook(percorso);
    for (const QString& foglio : cartella->sheets()) {
      const auto righe = cartella->rows(foglio);
      if (righe.size() > size_t(platform::kMaxWorkbookRows)) std::abort();
      for (const auto& riga : righe)
        if (riga.size() > size_t(platform::kMaxWorkbookColumns)) std::abort();
    }
  } catch (const platform::WorkbookError&) {
  }
}

}  // namespace listinova::fuzz
