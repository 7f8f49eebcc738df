#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
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

// Sections and keys match whatever the case and blanks, keys in their own section only; an
// absent file, section or key, or a comment, gives the default with its trailing blanks
// dropped; an empty value is not the default; enclosing double quotes go; values come back as
// their first 254 characters.
TEST_F(ProfileFileTest, ReadsAsWindowsDoes) {
  EXPECT_EQ(read("A", "Uno"), "?");
  put("[Stampante]\r\nPortaCOM=COM1\r\n; Due=2\r\n  [ cassa ]  \r\n  velocitaCOM  =  9600  \r\n"
      "Nome=\" Rossi \"\r\nMezzo=a\"b\"\r\nSolo=\"\r\nVuoto=\r\nBianco=   \r\n"
      "Lungo=" +
      QByteArray(250, 'x') + "abcdefghij\r\n");
  QStringList letti;
  for (const char* voce :
       {"stampante/portacom", "CASSA/VelocitaCOM", "Cassa/PortaCOM", "Stampante/; Due",
        "cassa/Vuoto", "cassa/Nome", "cassa/Mezzo", "cassa/Solo"})
    letti << read(QString(voce).section(u'/', 0, 0), QString(voce).section(u'/', 1));
  EXPECT_EQ(letti, QStringList({"COM1", "9600", "?", "?", "", " Rossi ", "a\"b\"", "\""}));
  EXPECT_EQ(read("cassa", "Lungo"), QString(250, u'x') + "abcd");
  EXPECT_EQ(readProfileString(path(), "B", "Uno", "vuoto  "), "vuoto");
}

TEST_F(ProfileFileTest, WriteFindsThePlaceOfTheKey) {
  const struct {
    QByteArray prima;
    const char *sezione, *chiave;
    QByteArray dopo;
  } casi[] = {
      // Only the first occurrence is replaced; every other line keeps its bytes.
      {"; nota\r\n\r\n[Cassa]\r\n  PortaCOM = 1 \r\nriga senza uguale\r\n[B]\r\nPortaCOM=2\r\n",
       "cassa", "portacom",
       "; nota\r\n\r\n[Cassa]\r\nPortaCOM=9\r\nriga senza uguale\r\n[B]\r\nPortaCOM=2\r\n"},
      {"[A]\r\nK=1\r\nK=2\r\n", "A", "K", "[A]\r\nK=9\r\nK=2\r\n"},
      // A new key goes after the last key of its section, or under the header of an empty one.
      {"[A]\r\nUno=1\r\n; nota\r\n\r\n[B]\r\nDue=2\r\n", "a", "Tre",
       "[A]\r\nUno=1\r\nTre=9\r\n; nota\r\n\r\n[B]\r\nDue=2\r\n"},
      {"[A]\r\n; nulla\r\n[B]\r\n", "A", "Uno", "[A]\r\nUno=9\r\n; nulla\r\n[B]\r\n"},
      // A missing section is appended at the end.
      // New lines end the way the file's lines do; an unended last line gets its end.
      {"[A]\nUno=1", "Nuova", "Chiave", "[A]\nUno=1\n[Nuova]\nChiave=9\n"},
      {"[A]\r\nUno=1", "A", "Due", "[A]\r\nUno=1\r\nDue=9\r\n"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.prima.toStdString());
    put(caso.prima);
    ASSERT_TRUE(writeProfileString(path(), caso.sezione, caso.chiave, "9"));
    EXPECT_EQ(bytes(), caso.dopo);
    EXPECT_EQ(read(caso.sezione, caso.chiave), "9");
  }
}

TEST_F(ProfileFileTest, EachLineIsUtf8OrElseCp1252AndKeepsItsBytesOnWriteBack) {
  // UTF-8 lines, one CP1252 line ("Città" with à = 0xE0, € = 0x80) and one with a stray byte.
  const QByteArray before =
      "\xEF\xBB\xBF[Negozio]\r\n"
      "Nome=Caff\xC3\xA8 Citt\xC3\xA0\r\n"
      "Insegna=Citt\xE0 \x80 5\r\n"
      "Nota=ok\xFF\r\n"
      "Via=Corso Garibaldi\r\n";
  put(before);
  const auto letti = [&] {
    return QStringList{read("Negozio", "Nome"), read("Negozio", "Insegna"),
                       read("Negozio", "Nota")};
  };
  const QStringList attesi{"Caffè Città", "Città € 5", "okÿ"};
  EXPECT_EQ(letti(), attesi);

  ASSERT_TRUE(writeProfileString(path(), "Negozio", "Via", QStringLiteral("Via Forlì")));
  ASSERT_TRUE(writeProfileString(path(), "Negozio", "Citta", QStringLiteral("Forlì")));
  QByteArray expected = before;
  expected.replace("Via=Corso Garibaldi\r\n", "Via=Via Forl\xC3\xAC\r\nCitta=Forl\xC3\xAC\r\n");
  EXPECT_EQ(bytes(), expected);

  // Writing a value the line already holds leaves its CP1252 bytes alone.
  ASSERT_TRUE(writeProfileString(path(), "Negozio", "Insegna", QStringLiteral("Città € 5")));
  EXPECT_EQ(bytes(), expected);
  EXPECT_EQ(letti(), attesi);
}

// A UTF-16 file with its byte order mark is read, and stays UTF-16 when written.
TEST_F(ProfileFileTest, Utf16FilesAreReadAndStayUtf16) {
  const auto utf16 = [](const QString& text) {
    return QByteArray(
        QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)(text));
  };
  put(utf16("[Negozio]\r\nNome=Caffè Città\r\nOUT=C:\\Cassa\r\n[Cassa]\r\nPortaCOM=1\r\n"));
  EXPECT_EQ(read("Negozio", "Nome"), "Caffè Città");
  EXPECT_EQ(read("Negozio", "OUT"), "C:\\Cassa");
  ASSERT_TRUE(writeProfileString(path(), "Negozio", "OUT", "/srv/€"));
  ASSERT_TRUE(writeProfileString(path(), "Nuova", "Chiave", "à"));
  EXPECT_EQ(bytes(),
            utf16("[Negozio]\r\nNome=Caffè Città\r\nOUT=/srv/€\r\n[Cassa]\r\nPortaCOM=1\r\n"
                  "[Nuova]\r\nChiave=à\r\n"));
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
