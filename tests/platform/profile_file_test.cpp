#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/file_helpers.h"

namespace listinova::platform {
namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  QString path(const QString& name = QStringLiteral("Setup.ini")) const {
    return folder_.filePath(name);
  }
  void put(const QByteArray& bytes, const QString& name = QStringLiteral("Setup.ini")) const {
    ASSERT_TRUE(listinova::testing::writeAll(path(name), bytes));
  }
  QByteArray bytes(const QString& name = QStringLiteral("Setup.ini")) const {
    return listinova::testing::readAll(path(name));
  }
  QString read(const QString& section, const QString& key) const {
    return readProfileString(path(), section, key, QStringLiteral("?"));
  }

  QTemporaryDir folder_;
};

TEST_F(ProfileFileTest, SectionsAndKeysMatchWhateverTheCaseAndBlanks) {
  put("[Stampante]\r\nPortaCOM=COM1\r\n  [ cassa ]  \r\n  velocitaCOM  =  9600  \r\n");
  EXPECT_EQ(read("stampante", "portacom"), "COM1");
  EXPECT_EQ(read("CASSA", "VelocitaCOM"), "9600");
  EXPECT_EQ(read("Cassa", "PortaCOM"), "?") << "keys belong to their own section only";
  put("[A]\nUno=1\nDue=2");
  EXPECT_EQ(read("a", "Uno"), "1");
  EXPECT_EQ(read("A", "Due"), "2");
}

TEST_F(ProfileFileTest, AbsentFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(read("A", "Uno"), "?");
  put("[A]\r\nUno=1\r\n; Due=2\r\n");
  EXPECT_EQ(read("B", "Uno"), "?");
  EXPECT_EQ(read("A", "Tre"), "?");
  EXPECT_EQ(read("A", "; Due"), "?") << "a comment is not a key";
  EXPECT_EQ(readProfileString(path(), "B", "Uno", "vuoto  "), "vuoto")
      << "Windows drops the default's trailing blanks";
}

TEST_F(ProfileFileTest, EnclosingDoubleQuotesAreRemoved) {
  put("[A]\r\nNome=\" Rossi \"\r\nMezzo=a\"b\"\r\nSolo=\"\r\nVuoto=\r\nBianco=   \r\n");
  EXPECT_EQ(read("A", "Vuoto"), "") << "an empty value is not the default";
  EXPECT_EQ(read("A", "Bianco"), "");
  EXPECT_EQ(read("A", "Nome"), " Rossi ");
  EXPECT_EQ(read("A", "Mezzo"), "a\"b\"");
  EXPECT_EQ(read("A", "Solo"), "\"");
}

TEST_F(ProfileFileTest, LongValuesComeBackAsTheirFirst254Characters) {
  const QString value = QString(250, u'x') + QStringLiteral("abcdefghij") + QString(40, u'y');
  ASSERT_TRUE(writeProfileString(path(), "A", "Lungo", value));
  EXPECT_EQ(read("A", "Lungo"), value.left(254));
  EXPECT_EQ(read("A", "Lungo").right(4), "abcd");
  const QString exact(254, u'z');
  ASSERT_TRUE(writeProfileString(path(), "A", "Giusto", exact));
  EXPECT_EQ(read("A", "Giusto"), exact);
}

TEST_F(ProfileFileTest, RewriteKeepsEveryOtherLineByteForByte) {
  const QByteArray before =
      "; impostazioni negozio\r\n"
      "\r\n"
      "[Cassa]\r\n"
      "PortaCOM=COM1\r\n"
      "  Velocita = 9600 \r\n"
      "riga senza uguale\r\n"
      "; fine cassa\r\n"
      "\r\n"
      "[Bilancia]\r\n"
      "PortaCOM=COM2\r\n";
  put(before);
  ASSERT_TRUE(writeProfileString(path(), "cassa", "portacom", "COM3"));
  QByteArray expected = before;
  expected.replace("PortaCOM=COM1", "PortaCOM=COM3");
  EXPECT_EQ(bytes(), expected);
  EXPECT_EQ(readProfileString(path(), "Bilancia", "PortaCOM", "?"), "COM2");
}

TEST_F(ProfileFileTest, WriteFindsThePlaceOfTheKey) {
  struct Caso {
    QByteArray prima;
    const char* sezione;
    const char* chiave;
    QByteArray dopo;
  };
  const Caso casi[] = {
      // Only the first occurrence is replaced.
      {"[A]\r\nK=1\r\nK=2\r\n", "A", "K", "[A]\r\nK=9\r\nK=2\r\n"},
      // A new key goes after the last key of its section, or under the header of an empty one.
      {"[A]\r\nUno=1\r\n; nota\r\n\r\n[B]\r\nDue=2\r\n", "a", "Tre",
       "[A]\r\nUno=1\r\nTre=9\r\n; nota\r\n\r\n[B]\r\nDue=2\r\n"},
      {"[A]\r\n; nulla\r\n[B]\r\n", "A", "Uno", "[A]\r\nUno=9\r\n; nulla\r\n[B]\r\n"},
      // A missing section is appended at the end.
      {"[A]\nUno=1", "Nuova", "Chiave", "[A]\r\nUno=1\r\n[Nuova]\r\nChiave=9\r\n"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.prima.toStdString());
    put(caso.prima);
    ASSERT_TRUE(writeProfileString(path(), caso.sezione, caso.chiave, "9"));
    EXPECT_EQ(bytes(), caso.dopo);
    EXPECT_EQ(read(caso.sezione, caso.chiave), "9");
  }
}

TEST_F(ProfileFileTest, WriteCreatesTheFileAndItsFolders) {
  const QString file = path(QStringLiteral("config/listinova/DovePrg.ini"));
  ASSERT_TRUE(writeProfileString(file, "Percorso", "Cartella", "/srv/negozio"));
  EXPECT_EQ(bytes(QStringLiteral("config/listinova/DovePrg.ini")),
            "[Percorso]\r\nCartella=/srv/negozio\r\n");
  EXPECT_EQ(readProfileString(file, "Percorso", "Cartella", "?"), "/srv/negozio");
}

TEST_F(ProfileFileTest, Cp1252FileReadsCorrectlyAndIsRewrittenAsUtf8) {
  // "MiaAttività" and "€ 5" in Windows-1252: à is 0xE0, € is 0x80.
  put("[Negozio]\r\nNome=MiaAttivit\xE0\r\nPrezzo=\x80 5\r\n");
  EXPECT_EQ(read("Negozio", "Nome"), QStringLiteral("MiaAttività"));
  EXPECT_EQ(read("Negozio", "Prezzo"), QStringLiteral("€ 5"));
  ASSERT_TRUE(writeProfileString(path(), "Negozio", "Citta", QStringLiteral("Forlì")));
  EXPECT_EQ(
      bytes(),
      QStringLiteral("[Negozio]\r\nNome=MiaAttività\r\nPrezzo=€ 5\r\nCitta=Forlì\r\n").toUtf8());
  EXPECT_EQ(read("Negozio", "Nome"), QStringLiteral("MiaAttività"));
  // A UTF-8 byte order mark is skipped.
  put("\xEF\xBB\xBF[Negozio]\r\nNome=MiaAttivit\xC3\xA0\r\n");
  EXPECT_EQ(read("Negozio", "Nome"), QStringLiteral("MiaAttività"));
}

TEST_F(ProfileFileTest, FailedWriteReportsFalseAndKeepsTheOldFile) {
  put("[A]\r\nUno=1\r\n", QStringLiteral("cartella"));
  EXPECT_FALSE(writeProfileString(path(QStringLiteral("cartella/Setup.ini")), "A", "Uno", "2"))
      << "the parent folder is a plain file";
  EXPECT_EQ(bytes(QStringLiteral("cartella")), "[A]\r\nUno=1\r\n");

  ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("Setup.ini")));
  EXPECT_FALSE(writeProfileString(path(), "A", "Uno", "2")) << "the target is a folder";
  EXPECT_TRUE(QFileInfo(path()).isDir());
}

}  // namespace
}  // namespace listinova::platform
