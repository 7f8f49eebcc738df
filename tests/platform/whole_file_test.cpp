// A file is whole or absent: written beside its name and renamed in when whole; on a full disk
// or in a read-only folder the previous file stays, nothing partial is left, and the cause is
// told in the operator's words.
#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "support/disco_montato.h"
#include "support/file_helpers.h"

namespace listinova::platform {
namespace {

TEST(WholeFile, WrittenWholeOrNotAtAllWithTheCauseNamed) {
  enum class Disco { Libero, Pieno, SolaLettura };
  const struct {
    const char* nome;
    Disco disco;
    const char* causa;  // empty: written
  } casi[] = {
      {"disco libero", Disco::Libero, ""},
      {"disco pieno", Disco::Pieno, "Spazio su disco esaurito in"},
      {"cartella in sola lettura", Disco::SolaLettura, "in sola lettura"},
  };
  const QByteArray nuovo(256 * 1024, 'n');
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    QTemporaryDir dir;
    testing::DiscoMontato disco(dir.filePath("disco"), 1024);
    if (!disco.montato()) {
      GTEST_SKIP() << "serve un file system montato dal test (root)";
    }
    const QString file = dir.filePath("disco/riepilogo.txt");
    ASSERT_TRUE(testing::writeAll(file, "precedente"));
    if (caso.disco == Disco::Pieno) disco.riempi(16);
    if (caso.disco == Disco::SolaLettura) {
      ASSERT_TRUE(disco.soloLettura());
    }

    const QString guasto = writeWholeFile(file, nuovo);

    EXPECT_TRUE(QString(caso.causa).isEmpty() ? guasto.isEmpty() : guasto.contains(caso.causa))
        << guasto.toStdString();
    EXPECT_EQ(testing::readAll(file), QString(caso.causa).isEmpty() ? nuovo : "precedente");
    QStringList voci =
        QDir(dir.filePath("disco")).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    voci.removeAll("riempitivo");
    EXPECT_EQ(voci, QStringList{"riepilogo.txt"});
  }
}

}  // namespace
}  // namespace listinova::platform
