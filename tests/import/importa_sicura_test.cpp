// Files a shop really meets (saved on another system, mixed encodings, a wrong file picked by
// mistake) and hostile ones: the archive is never left worse than it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "cartelle_di_prova.h"
#include "import/importa_foglio.h"
#include "import/importa_testo.h"
#include "import/lavoro_importa.h"
#include "platform/workbook_reader.h"
#include "startup/var_globali.h"
#include "support/file_helpers.h"
#include "support/negozio_di_prova.h"
#include "support/qt_print.h"

namespace listinova {
namespace {

using testing::NegozioDiProva;

QByteArray riga(const QByteArray& barcode, const QByteArray& descrizione, const char* reparto,
                const char* prezzo) {
  return QByteArray("x;x;x;") + barcode + ";" + descrizione + ";" + reparto + ";x;x;x;" + prezzo;
}

// A workbook of one sheet holding `dati` as its rows, in either zip format.
std::vector<std::pair<QString, QByteArray>> xlsx(const QByteArray& dati) {
  return {{"xl/workbook.xml",
           "<workbook xmlns:r=\"r\"><sheets><sheet name=\"PRODOTTI\" "
           "r:id=\"rId1\"/></sheets></workbook>"},
          {"xl/_rels/workbook.xml.rels",
           "<Relationships><Relationship Id=\"rId1\" Target=\"s.xml\"/></Relationships>"},
          {"xl/s.xml", "<worksheet><sheetData>" + dati + "</sheetData></worksheet>"}};
}
std::vector<std::pair<QString, QByteArray>> ods(const QByteArray& dati) {
  return {
      {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
      {"content.xml",
       "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:"
       "office:1.0\" xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
       "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
       "<office:spreadsheet><table:table table:name=\"P\">" +
           dati + "</table:table></office:spreadsheet></office:body></office:document-content>"}};
}

const QString kProdotti =
    "SELECT BarCode, Descrizione, Costo, Genere FROM Magazzino ORDER BY CLng(CodMateriale)";
const QStringList kVecchi{"111|Vecchio uno|1|1", "222|Vecchio due|1|1"};
const OpzioniTesto kPuntoEVirgola{QChar(';'), false, PredefinitePerTesto({})};

// Fixed columns of "Pelidor 35": department, barcode, description, price in cents.
QByteArray pelidor(const char* reparto, const char* barcode, const char* descrizione,
                   const char* centesimi) {
  return QByteArray(reparto).leftJustified(2) + QByteArray(barcode).leftJustified(14) +
         QByteArray(descrizione).leftJustified(20) + " " + centesimi + "\n";
}

struct CasoTesto {
  const char* nome;
  QByteArray contenuto;
  QStringList prodotti;  // "BarCode|Descrizione|Costo|Genere"; empty: the old archive stays
  std::vector<const char*> riepilogo;  // texts the summary (or the refusal) holds
  bool pelidor = false;
};

// Each file against the same archive of two products: it is replaced only by a file that reads
// well, numbered from one in file order, with the defaults of what the file does not give.
TEST(TestoDelimitato, ReplacesOnlyWithAFileThatReadsWell) {
  const CasoTesto casi[] = {
      {"NumeraDaUnoFineRigheECampiRotti",
       "a;b;c;8001234567897;Pasta 500g;3;x;x;x;1.5;x;99\r\n"
       "a;b;c;\"8000000000017\"; Sugo ;;x;x;x;2;x;1\r\n\r\n"
       "a;b;c;123;Corto\r\na;b;c;555;Olio;abc;x;x;x;4\r\n"
       "a;b;c;444;Vino;12;x;x;x;1.234,5\r\na;b;c;999;Sale;40;x;x;x;\ra;b;c;7;Olio;3;x;x;x;5\n",
       {"8001234567897|Pasta 500g|1.5|Pane", "8000000000017|Sugo|2|Reparto1",
        "999|Sale|0|Reparto40", "7|Olio|5|Pane"},
       {"Righe lette: 7", "riga 4: 5 campi, ne servono almeno 10",
        "riga 5: reparto \"abc\" non numerico", "riga 6: prezzo \"1.234,5\" non valido"}},
      // A line without end takes no memory; UTF-8 and Windows-1252 line by line; control
      // characters become spaces.
      {"RigaSenzaFineECodifiche",
       QByteArray(200000, '\0') + "\n" + riga("801", "Caff\xC3\xA8", "3", "1") + "\n" +
           riga("802", "Caff\xE8", "3", "1") + "\n" +
           riga("803", QByteArray("Pa\0sta\ffine", 11), "3", "1"),
       {"801|Caffè|1|Pane", "802|Caffè|1|Pane", "803|Pa sta fine|1|Pane"},
       {"riga 1: riga di oltre 65536 caratteri"}},
      {"RigheCheNonSonoProdottiEBarcodeRipetuto",
       riga("801", "Uno", "3", "1") + "\n" + riga("802", "Due", "3", "2") + "\n" +
           riga("803", "Tre", "3", "3") + "\n" + riga("801", "Uno bis", "3", "4") + "\n" +
           riga("123456789012345678901", "Lungo", "3", "1") + "\n" +
           riga("804", "Sotto zero", "3", "-1") + "\n" + riga("805", "Reparto", "-3", "1") + "\n",
       {"801|Uno bis|4|Pane", "802|Due|2|Pane", "803|Tre|3|Pane"},
       {"Righe scartate: 3", "Codici a barre ripetuti (vale l'ultima riga): 1",
        "riga 4: codice a barre 801 già in una riga precedente",
        "riga 5: codice a barre di 21 caratteri (al massimo 20)", "riga 6: prezzo -1,00 negativo",
        "riga 7: reparto -3 negativo"}},
      {"PelidorInCentesimi",
       pelidor("03", " 8001234567897", "Biscotti al burro", "00250") +
           pelidor("12", "8000000000017", "Acqua", "01999") +
           pelidor("04", "123", "Rotto", "12a45"),
       {"8001234567897|Biscotti al burro|2.5|Pane", "8000000000017|Acqua|19.99|Reparto12"},
       {"riga 3: prezzo \"12a45\" non numerico"},
       true},
      {"SoloSeparatori",
       ";;;;;;;;;;;\n",
       {},
       {"File rifiutato, l'archivio non è stato modificato", "solo 0 righe su 1 danno un prodotto",
        "nessuna riga dà un prodotto con il codice a barre",
        "riga 1: né codice a barre né descrizione"}},
      {"MenoDellaMetaBuone",
       riga("801", "Uno", "3", "1") + "\nrotta\nrotta anche questa\n",
       {},
       {"solo 1 righe su 3 danno un prodotto", "riga 2: 1 campi, ne servono almeno 10"}},
      {"FileVuoto", "", {}, {"il file non contiene righe"}}};
  for (const CasoTesto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    NegozioDiProva negozio;
    negozio.prodotto({.cod = "7", .descrizione = "Vecchio uno", .barCode = "111"})
        .prodotto({.cod = "8", .descrizione = "Vecchio due", .barCode = "222"})
        .reparto(3, "Pane");
    OpzioniTesto opzioni = kPuntoEVirgola;
    opzioni.pelidor35 = caso.pelidor;
    QString testo;
    try {
      testo =
          ImportaTestoDelimitato(*negozio.db, negozio.file("listino.txt", caso.contenuto), opzioni)
              .testo();
    } catch (const ErroreImport& e) {
      testo = e.messaggio();
      EXPECT_TRUE(e.riepilogo() && caso.prodotti.isEmpty()) << testo.toStdString();
    }
    for (const char* atteso : caso.riepilogo) {
      EXPECT_TRUE(testo.contains(QString::fromUtf8(atteso))) << atteso << "\n"
                                                             << testo.toStdString();
    }
    EXPECT_EQ(negozio.righe(kProdotti), caso.prodotti.isEmpty() ? kVecchi : caso.prodotti);
    if (caso.prodotti.isEmpty()) continue;
    EXPECT_EQ(negozio.valore("SELECT Max(CLng(CodMateriale)) FROM Magazzino"),
              QString::number(caso.prodotti.size()));
    if (!caso.pelidor) {
      EXPECT_EQ(
          negozio.righe("SELECT DISTINCT Quantità, UnitaMisura, Fornitore, Minimo FROM Magazzino"),
          QStringList{"2000|Pz|***|0"});
    }
  }
}

// A missing file, a store failure halfway and a process killed halfway: the old archive stays.
TEST(ImportaTesto, AnImportThatCannotFinishLeavesTheOldArchiveWhole) {
  NegozioDiProva negozio;
  negozio.prodotto({.cod = "7", .descrizione = "Vecchio uno", .barCode = "111"})
      .prodotto({.cod = "8", .descrizione = "Vecchio due", .barCode = "222"});
  EXPECT_THROW(ImportaTestoDelimitato(*negozio.db, negozio.file("manca.txt"), kPuntoEVirgola),
               ErroreImport);
  negozio.sqlite(
      "CREATE TRIGGER guasto BEFORE INSERT ON Magazzino WHEN NEW.BarCode = 'guasto' "
      "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
  try {
    ImportaTestoDelimitato(*negozio.db,
                           negozio.file("rotto.txt", riga("1", "Uno", "1", "1") + "\n" +
                                                         riga("guasto", "Due", "1", "1") + "\n" +
                                                         riga("3", "Tre", "1", "1")),
                           kPuntoEVirgola);
    ADD_FAILURE() << "the failure was not reported";
  } catch (const ErroreImport& errore) {
    EXPECT_TRUE(errore.messaggio().startsWith("Importazione non riuscita: l'archivio è rimasto"));
  }
  EXPECT_EQ(negozio.righe(kProdotti), kVecchi);

  QByteArray righe;
  for (int i = 1; i <= 2000; ++i) righe += riga(QByteArray::number(i), "P", "1", "1") + "\n";
  const QString percorso = negozio.file("grande.txt", righe);
  negozio.chiudi();
  ASSERT_TRUE(testing::MortoAMeta(negozio.percorsoArchivio(), 1000,
                                  [&](platform::db::Database& db, const SchermoImport& s) {
                                    ImportaTestoDelimitato(db, percorso, kPuntoEVirgola, s);
                                  }));
  negozio.db = ApriDatabase(negozio.percorsoArchivio());
  EXPECT_EQ(negozio.righe(kProdotti), kVecchi);
}

// The price history an import leaves: the same rows, in the same order, whether the products
// are written one by one or many at once; another trigger on the archive keeps running.
TEST(ImportaTesto, ARepeatedImportRecordsOnlyTheChangedPricesInFileOrder) {
  NegozioDiProva negozio;
  negozio.prodotto("251", "Uno", "1,00")
      .prodotto("252", "Due", "2,00")
      .prodotto("253", "Tre", "3,00")
      .prodotto("5", "Quinto", "9,00")
      .sqlite(
          "CREATE TABLE Visti (BarCode TEXT); CREATE TRIGGER visto AFTER INSERT ON Magazzino "
          "BEGIN INSERT INTO Visti VALUES (NEW.BarCode); END");
  // Enough lines to be written in a block: codes 1-250, all at 8 (code 5 was at 9). Then codes
  // 251-253 come back with the same, a new and a new price; 254 is new; barcode 222 comes
  // again with another price, and 255 is written after it.
  QByteArray righe;
  for (int i = 1; i <= 250; ++i) righe += riga(QByteArray::number(9000 + i), "P", "1", "8") + "\n";
  righe +=
      "x;x;x;111;Uno;1;x;x;x;1\nx;x;x;222;Due;1;x;x;x;2.5\nx;x;x;333;Tre;1;x;x;x;4\n"
      "x;x;x;444;Quattro;1;x;x;x;5\nx;x;x;222;Due bis;1;x;x;x;6\nx;x;x;555;Cinque;1;x;x;x;7\n";
  EXPECT_EQ(ImportaTestoDelimitato(*negozio.db, negozio.file("listino.txt", righe), kPuntoEVirgola)
                .aggiunti,
            255);
  EXPECT_EQ(negozio.righe("SELECT CodMateriale, BarCode, Descrizione, Costo FROM Magazzino "
                          "WHERE rowid > 249 ORDER BY rowid"),
            QStringList({"250|9250|P|8", "251|111|Uno|1", "252|222|Due bis|6", "253|333|Tre|4",
                         "254|444|Quattro|5", "255|555|Cinque|7"}));
  EXPECT_EQ(negozio.righe("SELECT CodMateriale, Vecchio, Nuovo, "
                          "Quando >= datetime('now', 'localtime', '-1 minute') FROM "
                          "StoricoPrezzi WHERE CodMateriale IN ('5', '250', '251', '252', "
                          "'253', '254', '255') ORDER BY rowid"),
            QStringList({"251|NULL|1|1", "252|NULL|2|1", "253|NULL|3|1", "5|NULL|9|1", "5|9|8|1",
                         "250|NULL|8|1", "252|2|2.5|1", "253|3|4|1", "254|NULL|5|1", "252|2.5|6|1",
                         "255|NULL|7|1"}));
  EXPECT_EQ(negozio.valore("SELECT count(*) FROM StoricoPrezzi"), "259");
  EXPECT_EQ(negozio.valore("SELECT count(*) FROM Visti"), "255");
  EXPECT_EQ(negozio.valore("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND name "
                           "IN ('StoricoPrezzi_Nuovo', 'StoricoPrezzi_Inserimento')"),
            "2");
}

// The command line: spreadsheets by their own route, the shrink question, the refusal's
// reasons on screen, in the error log and in the summary file.
class ImportaDaRigaDiComando : public ::testing::Test {
 protected:
  int esegui(QStringList argomenti, const LavoroRigaDiComando& lavoro = LavoroImporta()) {
    argomenti.prepend("listinova");
    argomenti << "--cartella" << negozio.cartella.root();
    uscita.clear();
    errori.clear();
    QTextStream out(&uscita), err(&errori);
    negozio.chiudi();
    const int stato = lavoro.esegui(argomenti, out, err);
    Globali() = VarGlobali{};
    return stato;
  }
  QStringList prodotti() {
    negozio.db = platform::db::Database::open(negozio.percorsoArchivio());
    return negozio.righe(
        "SELECT BarCode, Descrizione, Costo FROM Magazzino ORDER BY CLng(CodMateriale)");
  }

  NegozioDiProva negozio;
  QString uscita, errori;
};

TEST_F(ImportaDaRigaDiComando, ARefusedOrShrinkingFileLeavesTheArchiveAndSaysWhy) {
  negozio.prodotti(6);
  const std::pair<QStringList, const char*> sbagliati[] = {
      {{"importa"}, "Indicare il file da importare"},
      {{"importa", "x.txt", "--barcode", "0"}, "--barcode vuole una colonna da 1 a 100"},
  };
  for (const auto& [argomenti, messaggio] : sbagliati) {
    EXPECT_EQ(esegui(argomenti), 2);
    EXPECT_TRUE(errori.contains(QString::fromUtf8(messaggio))) << errori.toStdString();
  }
  const QString rotto = negozio.file("rotto.txt", ";;;;;;;;;;;\n;;;;;;;;;;;\n");
  EXPECT_EQ(esegui({"importa", rotto, "--si"}), 1);
  EXPECT_TRUE(errori.contains("nessuna riga dà un prodotto con il codice a barre"))
      << errori.toStdString();
  EXPECT_EQ(prodotti().size(), 6);
  EXPECT_TRUE(testing::readAll(negozio.file("Dati/ErrorLog.dat")).contains("File rifiutato"));
  const QString riepilogo = QString::fromUtf8(testing::readAll(
      negozio.file("Dati/Importazione-" + QDate::currentDate().toString("yyyy-MM-dd") + ".txt")));
  EXPECT_TRUE(riepilogo.contains("File rifiutato")) << riepilogo.toStdString();
  EXPECT_TRUE(riepilogo.contains("riga 2: né codice a barre né descrizione"))
      << riepilogo.toStdString();

  // Six products would become two: without --si nobody says yes.
  const QString corto = negozio.file(
      "corto.txt", riga("801", "Uno", "", "1") + "\n" + riga("802", "Due", "", "2") + "\n");
  EXPECT_EQ(esegui({"importa", corto}), 3);
  EXPECT_EQ(prodotti().size(), 6);
  EXPECT_EQ(esegui({"importa", corto, "--si"}), 0);
  EXPECT_EQ(prodotti(), QStringList({"801|Uno|1", "802|Due|2"}));
}

TEST_F(ImportaDaRigaDiComando, WorkbooksGoByTheSpreadsheetRouteAndHostileOnesAreRefused) {
  negozio.prodotto({.cod = "1", .descrizione = "Vecchio", .barCode = "8001234567897"});
  EXPECT_EQ(esegui({"importa", LISTINOVA_FOGLI "/PRODOTTI.xlsx"}), 0) << errori.toStdString();
  EXPECT_EQ(prodotti(), QStringList({"8001234567897|Pasta 500g|1.5",
                                     QString::fromUtf8("8000000000017|Caffè moka|4.99"),
                                     "8012345678901|Sale fino|0.45"}));
  EXPECT_TRUE(uscita.contains("Prodotti aggiornati: 1")) << uscita.toStdString();

  // Columns named on the command line: the supplier's name as the description.
  EXPECT_EQ(esegui({"importa", LISTINOVA_FOGLI "/PRODOTTI.ods", "--descrizione", "17",
                    "--nome-fornitore", "4"}),
            0)
      << errori.toStdString();
  EXPECT_EQ(prodotti().first(), "8001234567897|Molino Rossi|1.5");

  const QString ostile = negozio.file("ostile.xlsx");
  ASSERT_TRUE(testing::ScriviZip(
      ostile, xlsx("<row r=\"2000000000\"><c r=\"A2000000000\"><v>1</v></c></row>")));
  EXPECT_EQ(esegui({"importa", ostile}), 1);
  EXPECT_TRUE(errori.contains("troppo grande per essere importato")) << errori.toStdString();
  EXPECT_EQ(prodotti().size(), 3);
}

// The exchange folder: A and B files in name order up to a file of another name; one that gives
// nothing stays and fails the job; every line of every file is in the summary.
TEST_F(ImportaDaRigaDiComando, ExchangeFilesGoInNameOrderAndOnesThatGiveNothingStay) {
  EXPECT_EQ(esegui({"interscambio"}, LavoroInterscambio()), 2);  // no folder set
  negozio.setup("Cartelle", "IN", "C:\\Scambio");
  QByteArray codici;
  for (int i = 1; i <= 1000; ++i)
    codici += testing::RigaFissa({{26, QByteArray::number(8000000000000LL + i).constData()},
                                  {53, QByteArray::number(i).rightJustified(9, '0').constData()}});
  negozio.file("Scambio/B2.txt", codici + "N2024\r\n");
  negozio.file("Scambio/C0.txt", codici);
  negozio.file("Scambio/nota.doc", "non un file di testo");
  QByteArray casuali(4096, '\0');
  for (int i = 0; i < casuali.size(); ++i) casuali[i] = static_cast<char>((i * 7919) % 251);
  negozio.file("Scambio/A1.txt", casuali);

  EXPECT_EQ(esegui({"interscambio"}, LavoroInterscambio()), 1);
  EXPECT_FALSE(uscita.contains("Importato")) << uscita.toStdString();
  EXPECT_TRUE(errori.contains("A1.txt: Il file \"A1.txt\" non contiene record validi"))
      << errori.toStdString();
  EXPECT_TRUE(QFile::exists(negozio.file("Scambio/A1.txt")));

  negozio.file("Scambio/A1.txt", testing::RigaFissa({{1, "N"}, {26, "Pasta"}, {103, "000000007"}}));
  EXPECT_EQ(esegui({"interscambio"}, LavoroInterscambio()), 0) << errori.toStdString();
  EXPECT_TRUE(uscita.contains("Importato: A1.txt\nImportato: B2.txt")) << uscita.toStdString();
  EXPECT_EQ(QDir(negozio.file("InterScambioINStorico")).entryList(QDir::Files),
            QStringList({"A1.txt", "B2.txt"}));
  EXPECT_EQ(QDir(negozio.file("Scambio")).entryList(QDir::Files),
            QStringList({"C0.txt", "nota.doc"}));
  for (const char* riga : {"Righe lette: 1002", "Righe scartate: 1",
                           "riga 1001: record B di 5 caratteri: ne servono almeno 61",
                           "Codici a barre del catalogo registrati: 1000"})
    EXPECT_TRUE(uscita.contains(QString::fromUtf8(riga))) << riga << uscita.toStdString();
  EXPECT_EQ(prodotti(), QStringList{"8000000000007|Pasta|0"});
}

// Workbooks that declare more than Excel allows, or inflate far past their size.
TEST(LetturaCartelleLimitata, WorkbooksBeyondTheLimitsAreRefusedInItalian) {
  QTemporaryDir dir;
  const std::pair<const char*, std::vector<std::pair<QString, QByteArray>>> casi[] = {
      {"riga oltre il limite", xlsx("<row r=\"1048577\"><c><v>1</v></c></row>")},
      {"colonna oltre il limite", xlsx("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>")},
      {"parte che si gonfia",
       xlsx("<row r=\"1\"><c><v>1</v></c></row>" + QByteArray(20 * 1024 * 1024, ' '))},
      {"righe ripetute oltre il limite",
       ods("<table:table-row table:number-rows-repeated=\"2000000\"><table:table-cell "
           "office:value-type=\"string\"><text:p>x</text:p></table:table-cell>"
           "</table:table-row>")},
      {"colonne ripetute oltre il limite",
       ods("<table:table-row><table:table-cell table:number-columns-repeated=\"16385\"/>"
           "</table:table-row>")},
      {"celle ripetute oltre la memoria",
       ods("<table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell "
           "table:number-columns-repeated=\"16000\" office:value-type=\"float\" "
           "office:value=\"1\"/></table:table-row>")},
  };
  for (const auto& [nome, parti] : casi) {
    const QString percorso = dir.filePath(QString::fromUtf8(nome) + ".zip");
    ASSERT_TRUE(testing::ScriviZip(percorso, parti));
    try {
      auto cartella = platform::openWorkbook(percorso);
      cartella->rows(cartella->sheets().value(0));
      ADD_FAILURE() << nome << ": letto";
    } catch (const platform::WorkbookError& e) {
      EXPECT_TRUE(e.message().contains("troppo grande per essere importato"))
          << nome << ": " << e.message().toStdString();
    }
  }
  // Files that are no workbook, whatever their name, are refused naming the file.
  const std::pair<const char*, QByteArray> nonCartelle[] = {
      {"testo.xls", "Codice;Prezzo\n"},
      {"zip.xlsx", QByteArray("PK\x03\x04rotto", 9)},
      {"ole.xls", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rotto", 13)},
      {"manca.xlsx", {}},
  };
  for (const auto& [nome, contenuto] : nonCartelle) {
    const QString percorso = dir.filePath(nome);
    if (!contenuto.isNull()) {
      ASSERT_TRUE(testing::writeAll(percorso, contenuto));
    }
    try {
      platform::openWorkbook(percorso);
      ADD_FAILURE() << nome << " was read as a workbook";
    } catch (const platform::WorkbookError& e) {
      EXPECT_TRUE(e.message().contains(percorso)) << e.message().toStdString();
    }
  }
  // An .xls the fuzzer found, on which FreeXL reads past its own buffer (what it then reads
  // varies; under the sanitizers the read kills the reading process): a message or some rows,
  // never a dead program.
  try {
    auto cartella =
        platform::openWorkbook(QStringLiteral(LISTINOVA_FOGLI "/freexl-fuori-limite.xls"));
    for (const QString& foglio : cartella->sheets()) cartella->rows(foglio);
  } catch (const platform::WorkbookError& e) {
    EXPECT_TRUE(e.message().contains("non è un foglio di calcolo .xls leggibile"))
        << e.message().toStdString();
  }
  // Spaces spelled out by the million stay within one cell's length.
  const QString spazi = dir.filePath("spazi.ods");
  ASSERT_TRUE(testing::ScriviZip(
      spazi, ods("<table:table-row><table:table-cell><text:p>a<text:s text:c=\"1000000000\"/>b"
                 "</text:p></table:table-cell></table:table-row>")));
  const auto righe = platform::openWorkbook(spazi)->rows("P");
  ASSERT_EQ(righe.size(), 1u);
  EXPECT_EQ(righe[0][0].text.size(), platform::kMaxCellText);
}

// Formula cells of .xls files written by two spreadsheet programs give the results stored with
// them; a formula without a result (1/0) refuses its row by naming the cell.
TEST(FormuleXls, StoredResultsAreReadAndAnErrorRefusesItsRow) {
  for (const char* nome : {"formule-libreoffice.xls", "formule-gnumeric.xls"}) {
    NegozioDiProva negozio;
    auto cartella = platform::openWorkbook(QStringLiteral(LISTINOVA_FOGLI "/") + nome);
    const RiepilogoImport r =
        ImportaFoglio(*negozio.db, *cartella, PredefinitePerFoglio(), QString());
    EXPECT_EQ(negozio.righe("SELECT BarCode, Descrizione, Costo, Costo2 FROM Magazzino ORDER BY "
                            "CLng(CodMateriale)"),
              QStringList({"8001234567897|Pasta|1.5|0.75", "8000000000017|Sale fino|0.45|0.2"}))
        << nome;
    ASSERT_EQ(r.scartate.size(), 1u) << nome;
    EXPECT_EQ(r.scartate[0].motivo, "la cella G4 ha una formula senza valore calcolato nel file");
  }
}

}  // namespace
}  // namespace listinova
