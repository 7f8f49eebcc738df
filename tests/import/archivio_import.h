#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "catalogue/apri_database.h"
#include "platform/db/database.h"
#include "support/file_helpers.h"
#include "support/qt_print.h"

namespace listinova::testing {

// A fixed-column line: each text at its 1-based column, blanks between.
inline QByteArray RigaFissa(std::initializer_list<std::pair<int, const char*>> campi) {
  QByteArray riga;
  for (const auto& [colonna, testo] : campi) {
    if (riga.size() < colonna - 1) riga = riga.leftJustified(colonna - 1, ' ');
    riga = riga.left(colonna - 1) + testo;
  }
  return riga + "\r\n";
}

// A fresh store in a temporary folder, and the means to look at the products it holds.
class ArchivioImport : public ::testing::Test {
 protected:
  void SetUp() override { db = ApriDatabase(dir.filePath("DbNegozio.mdb")); }

  QString file(const QString& nome, const QByteArray& contenuto) {
    const QString percorso = dir.filePath(nome);
    EXPECT_TRUE(writeAll(percorso, contenuto));
    return percorso;
  }

  // One text of `colonne` per product, "|"-joined, ordered by product code.
  QStringList prodotti(const QString& colonne = "CodMateriale,BarCode,Descrizione,Quantità,Costo") {
    QStringList righe;
    for (auto rs =
             db->openRecordset("SELECT " + colonne + " FROM Magazzino ORDER BY CLng(CodMateriale)");
         !rs.eof(); rs.moveNext()) {
      QStringList celle;
      for (int i = 0; i < rs.fieldCount(); ++i) {
        const QVariant v = rs.value(i);
        celle << (v.isNull() ? QStringLiteral("NULL") : v.toString());
      }
      righe << celle.join('|');
    }
    return righe;
  }

  QString valore(const QString& sql) {
    auto rs = db->openRecordset(sql);
    return rs.eof() || rs.value(0).isNull() ? QStringLiteral("NULL") : rs.value(0).toString();
  }

  QTemporaryDir dir;
  std::unique_ptr<platform::db::Database> db;
};

}  // namespace listinova::testing
