#include "import/importa_testo.h"

#include <sys/wait.h>
#include <unistd.h>

#include "import/archivio_import.h"
#include "import/testo_fornitore.h"

namespace listinova {
namespace {

using testing::ArchivioImport;

OpzioniTesto puntoEVirgola() { return {QChar(';'), false, PredefinitePerTesto({})}; }

class ImportaTesto : public ArchivioImport {
 protected:
  void archivioVecchio() {
    db->execute(
        "INSERT INTO Magazzino (CodMateriale, BarCode, Descrizione, Costo) VALUES "
        "('7', '111', 'Vecchio uno', 1), ('8', '222', 'Vecchio due', 2)");
  }
  const QStringList vecchi{"7|111|Vecchio uno|0|1", "8|222|Vecchio due|0|2"};
};

TEST_F(ImportaTesto, ReplacesTheArchiveNumberingFromOneInFileOrder) {
  archivioVecchio();
  db->execute("UPDATE Reparti SET Descrizione='Alimentari' WHERE Cod=3");
  const QString percorso = file("listino.txt",
                                "a;b;c;8001234567897;Pasta 500g;3;x;x;x;1.5;x;99\r\n"
                                "a;b;c;\"8000000000017\"; Sugo ;;x;x;x;2;x;1\r\n"
                                "\r\n"
                                "a;b;c;123;Corto\r\n"
                                "a;b;c;555;Olio;abc;x;x;x;4\r\n"
                                "a;b;c;444;Vino;12;x;x;x;1.234,5\r\n"
                                "a;b;c;999;Sale;40;x;x;x;\n");
  const RiepilogoImport r = ImportaTestoDelimitato(*db, percorso, puntoEVirgola());
  EXPECT_EQ(prodotti("CodMateriale,BarCode,Descrizione,Quantità,Costo,Genere,UnitaMisura,"
                     "Fornitore,Minimo"),
            QStringList({"1|8001234567897|Pasta 500g|2000|1.5|Alimentari|Pz|***|0",
                         "2|8000000000017|Sugo|2000|2|Reparto1|Pz|***|0",
                         "3|999|Sale|2000|0|Reparto40|Pz|***|0"}));
  EXPECT_EQ(r.righeLette, 6);
  EXPECT_EQ(r.aggiunti, 3);
  ASSERT_EQ(r.scartate.size(), 3u);
  EXPECT_EQ(r.scartate[0].riga, 4);
  EXPECT_EQ(r.scartate[0].motivo, "5 campi, ne servono almeno 10");
  EXPECT_EQ(r.scartate[1].motivo, "reparto \"abc\" non numerico");
  EXPECT_EQ(r.scartate[2].motivo, "prezzo \"1.234,5\" non valido");
}

TEST_F(ImportaTesto, PelidorFixedColumnsHoldCents) {
  const auto riga = [](const char* reparto, const char* barcode, const char* descrizione,
                       const char* prezzo) {
    return QByteArray(reparto).leftJustified(2) + QByteArray(barcode).leftJustified(14) +
           QByteArray(descrizione).leftJustified(20) + " " + prezzo + "\n";
  };
  const QString percorso =
      file("pelidor.txt", riga("03", " 8001234567897", "Biscotti al burro", "00250") +
                              riga("12", "8000000000017", "Acqua", "01999") +
                              riga("04", "123", "Rotto", "12a45"));
  OpzioniTesto o = puntoEVirgola();
  o.pelidor35 = true;
  const RiepilogoImport r = ImportaTestoDelimitato(*db, percorso, o);
  EXPECT_EQ(prodotti("CodMateriale,BarCode,Descrizione,Quantità,Costo,Genere"),
            QStringList({"1|8001234567897|Biscotti al burro|0|2.5|Reparto3",
                         "2|8000000000017|Acqua|0|19.99|Reparto12"}));
  ASSERT_EQ(r.scartate.size(), 1u);
  EXPECT_EQ(r.scartate[0].motivo, "prezzo \"12a45\" non numerico");
}

TEST_F(ImportaTesto, Windows1252AndUtf8DescriptionsArriveIntact) {
  const QByteArray cp1252 = "x;x;x;1;Societ\xE0 caff\xE8 \x80 2;1;x;x;x;1\n";
  const QByteArray utf8 =
      "\xEF\xBB\xBFx;x;x;1;Societ\xC3\xA0 caff\xC3\xA8 \xE2\x82\xAC 2;1;x;x;x;1\n";
  for (const QByteArray& contenuto : {cp1252, utf8}) {
    ImportaTestoDelimitato(*db, file("listino.txt", contenuto), puntoEVirgola());
    EXPECT_EQ(prodotti("Descrizione"), QStringList{QString::fromUtf8("Società caffè € 2")});
  }
}

TEST_F(ImportaTesto, AFileWithoutProductsOrUnreadableLeavesTheArchive) {
  archivioVecchio();
  const QString sbagliato = file("sbagliato.txt", "a,b,c,1,Pasta,3,x,x,x,1.5\n");
  EXPECT_THROW(ImportaTestoDelimitato(*db, sbagliato, puntoEVirgola()), ErroreImport);
  EXPECT_THROW(ImportaTestoDelimitato(*db, dir.filePath("manca.txt"), puntoEVirgola()),
               ErroreImport);
  EXPECT_EQ(prodotti(), vecchi);
}

TEST_F(ImportaTesto, AStoreFailureHalfwayLeavesTheOldArchiveWhole) {
  archivioVecchio();
  db->execute(
      "CREATE TRIGGER guasto BEFORE INSERT ON Magazzino WHEN NEW.BarCode = 'guasto' "
      "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  const QString percorso = file("listino.txt",
                                "x;x;x;1;Uno;1;x;x;x;1\nx;x;x;guasto;Due;1;x;x;x;1\n"
                                "x;x;x;3;Tre;1;x;x;x;1\n");
  try {
    ImportaTestoDelimitato(*db, percorso, puntoEVirgola());
    ADD_FAILURE() << "the failure was not reported";
  } catch (const ErroreImport& errore) {
    EXPECT_TRUE(errore.messaggio().startsWith("Importazione non riuscita: l'archivio è rimasto"));
  }
  EXPECT_EQ(prodotti(), vecchi);
}

TEST_F(ImportaTesto, AProcessKilledHalfwayLeavesTheOldArchiveWhole) {
  archivioVecchio();
  QByteArray righe;
  for (int i = 1; i <= 2000; ++i)
    righe += QByteArray("x;x;x;") + QByteArray::number(i) + ";P;1;x;x;x;1\n";
  const QString percorso = file("grande.txt", righe);
  const QString archivio = db->path();
  db.reset();
  const pid_t figlio = fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    auto mio = ApriDatabase(archivio);
    SchermoImport schermo;
    // Dies with the transaction open and half the rows written, as a power cut would.
    schermo.avanzamento = [](int fatti, int) {
      if (fatti >= 1000) _exit(0);
    };
    ImportaTestoDelimitato(*mio, percorso, puntoEVirgola(), schermo);
    _exit(1);
  }
  int stato = 0;
  ASSERT_EQ(waitpid(figlio, &stato, 0), figlio);
  ASSERT_TRUE(WIFEXITED(stato));
  ASSERT_EQ(WEXITSTATUS(stato), 0) << "the import did not reach the middle";
  db = ApriDatabase(archivio);
  EXPECT_EQ(prodotti(), vecchi);
}

TEST(TestoFornitore, FieldsPastTheLineEndAreShortOrEmpty) {
  EXPECT_EQ(Campo("ABCDEF", 3, 2), "CD");
  EXPECT_EQ(Campo("ABCDEF", 5, 10), "EF");
  EXPECT_EQ(Campo("ABCDEF", 40, 3), "");
  EXPECT_EQ(InteroIniziale(" 03"), 3);
  EXPECT_EQ(InteroIniziale("12kg"), 12);
  EXPECT_FALSE(InteroIniziale("kg"));
}

}  // namespace
}  // namespace listinova
