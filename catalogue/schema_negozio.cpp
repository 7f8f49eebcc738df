#include "catalogue/schema_negozio.h"

#include "catalogue/storico_prezzi.h"
#include "catalogue/versione_archivio.h"
#include "platform/db/database.h"

namespace listinova {
namespace {

using platform::db::Database;

struct Tabella {
  const char* nome;
  const char* colonne;
  const char* indici;  // statements run only when the table is new
};

// Text columns compare without regard to case, as the store always did: SQLite's NOCASE, so
// that any SQLite tool reads and checks the indexes alike; accented letters are folded by the
// statements themselves (see kJetTextCollation).
#define T " TEXT COLLATE NOCASE"
#define FONT(s)                                                              \
  "Font" s T ", FontSize" s " DOUBLE, Bold" s " INTEGER DEFAULT 0, Italic" s \
  " INTEGER DEFAULT 0, Under" s " INTEGER DEFAULT 0, Color" s " INTEGER DEFAULT 0"

constexpr Tabella kTabelle[] = {
    {"Magazzino",
     "CodMateriale" T ", Descrizione" T ", BarCode" T ", Genere" T
     ", Quantità DOUBLE DEFAULT 0, Minimo DOUBLE DEFAULT 0, Costo CURRENCY DEFAULT 0"
     ", Costo2 CURRENCY DEFAULT 0, CodPV" T ", UnitaMisura" T ", Fornitore" T
     ", CodProdottoFornitore" T ", Taglia" T ", Colore" T ", TipoMateriale" T
     ", Eliminato BOOLEAN DEFAULT 0, Modificato BOOLEAN DEFAULT 0, TipoVariazione" T ", Note" T
     ", PeriodoRiordino INTEGER DEFAULT 0, CodArtCEDI" T
     ", DataInizioPromo DATETIME, DataFinePromo DATETIME, PrezzoPromo CURRENCY",
     "CREATE UNIQUE INDEX Magazzino_CodMateriale ON Magazzino(CodMateriale);"
     "CREATE INDEX Magazzino_BarCode ON Magazzino(BarCode);"
     "CREATE INDEX Magazzino_Descrizione ON Magazzino(Descrizione);"
     "CREATE INDEX Magazzino_CodProdottoFornitore ON Magazzino(CodProdottoFornitore);"
     "CREATE INDEX Magazzino_CodArtCEDI ON Magazzino(CodArtCEDI);"},
    {"Reparti",
     "Cod INTEGER PRIMARY KEY, Descrizione" T ", Iva DOUBLE DEFAULT 0"
     ", PrezzoPrefissato CURRENCY DEFAULT 0, Sconto DOUBLE DEFAULT 0"
     ", NoFiscale BOOLEAN DEFAULT 0, PercorsoIcon" T ", Icon" T,
     "WITH RECURSIVE n(Cod) AS (SELECT 1 UNION ALL SELECT Cod + 1 FROM n WHERE Cod < 40) "
     "INSERT INTO Reparti (Cod, Descrizione, Iva, PrezzoPrefissato, Sconto, NoFiscale, "
     "PercorsoIcon, Icon) SELECT Cod, 'Reparto' || Cod, 0, 0, 0, 0, '', '' FROM n;"},
    {"Offerte",
     "Articolo" T ", DataDAL DATETIME, DataAL DATETIME, PrzScnt CURRENCY DEFAULT 0"
     ", ScontoPer DOUBLE DEFAULT 0, ScontoVal CURRENCY DEFAULT 0, Pezzi INTEGER DEFAULT 0",
     "CREATE INDEX Offerte_Articolo ON Offerte(Articolo);"},
    {"BarCodeUlteriori",
     "CodProd" T ", BarCode" T ", CodPerTabProd" T ", Inviato BOOLEAN DEFAULT 0",
     "CREATE INDEX BarCodeUlteriori_CodProd ON BarCodeUlteriori(CodProd);"
     "CREATE INDEX BarCodeUlteriori_BarCode ON BarCodeUlteriori(BarCode);"},
    {"StoricoPLU", "EAN" T ", Qta DOUBLE DEFAULT 0, DataModif DATETIME",
     "CREATE INDEX StoricoPLU_DataModif ON StoricoPLU(DataModif);"},
    {"Taglie", "Pos INTEGER, NomeElemento" T, ""},
    {"Colori", "Pos INTEGER, NomeElemento" T, ""},
    {"MagazzinoPerOstrel",
     "BarCode" T ", Descrizione" T ", Prezzo CURRENCY DEFAULT 0, Quantita DOUBLE DEFAULT 0"
     ", RepartoAss INTEGER DEFAULT 0, Ordinale INTEGER DEFAULT 0, CodArtMagazzino" T ", UM" T
     ", Modificato BOOLEAN DEFAULT 0",
     ""},
    {"rptProdotti",
     "CodProdotto" T ", Descrizione" T ", Costo CURRENCY, CostoAcquisto CURRENCY"
     ", Prezzo2 CURRENCY, Reparto" T,
     ""},
    {"rptMagazzino",
     "CodProdotto" T ", Descrizione" T ", Quantità DOUBLE, Costo CURRENCY, Costo2 CURRENCY"
     ", Colore" T ", Categoria" T ", Giacenze DOUBLE, UnitaMisura" T,
     ""},
    {"FormatoEtichetta",
     "NumCol INTEGER, NumRow INTEGER, XFornitura REAL, YFornitura REAL, XCliente REAL"
     ", YCliente REAL, XCodFornitura REAL, YCodFornitura REAL, XPeso REAL, YPeso REAL"
     ", XBC REAL, YBC REAL, XPicture REAL, YPicture REAL, " FONT("F") ", " FONT("CF") ", " FONT(
         "C") ", " FONT("P") ", " FONT("BC"),
     "INSERT INTO FormatoEtichetta (NumCol, NumRow, XFornitura, YFornitura, XCodFornitura, "
     "YCodFornitura, XCliente, YCliente, XPeso, YPeso, XBC, YBC, XPicture, YPicture, FontF, "
     "FontSizeF, FontCF, FontSizeCF, BoldCF, FontC, FontSizeC, BoldC, FontP, FontSizeP, FontBC, "
     "FontSizeBC) VALUES (3, 8, 60, 110, 520, 110, 760, 110, 1290, 110, 840, 1622, 50, 2842, "
     "'Arial', 7, 'Arial', 9, -1, 'Arial', 16, -1, 'Arial', 7, 'Code EAN13', 20);"},
    {"B_CEDI",
     "TipoVariazione" T ", DataVariazione" T ", CodFornitore" T ", CodArticoloFornitore" T
     ", CodEan" T ", EANMoltiplicatore" T ", TipoArticolo" T ", EANPrimario" T ", ArtCEDI" T
     ", CodArtCEDI" T ", DifferenziatoreArtCEDI" T ", RepartoCassa" T ", Filler4" T
     ", CodForPrevalente" T ", DiffFornitPrevalente" T ", LineaFornitore" T ", Filler5" T,
     "CREATE INDEX B_CEDI_ArtCEDI ON B_CEDI(ArtCEDI);"},
};
#undef FONT
#undef T

// The departments window lists a department's products from "prodotti": the products whose
// Genere names the department, or holds its code when departments are stored as codes.
constexpr char kVistaProdotti[] =
    "CREATE VIEW prodotti AS SELECT CASE WHEN m.Genere GLOB '[0-9]*' AND m.Genere NOT GLOB "
    "'*[^0-9]*' THEN CAST(m.Genere AS INTEGER) ELSE (SELECT r.Cod FROM Reparti r WHERE "
    "r.Descrizione = m.Genere) END AS codreparto, m.CodMateriale AS Cod, m.Descrizione AS "
    "Descrizione, m.Costo AS Costo, m.Costo AS Prezzo1, m.Costo2 AS Prezzo2, m.Eliminato AS "
    "Eliminato FROM Magazzino m";

void eseguiTutte(Database& db, const QString& statements) {
  for (const QString& statement : statements.split(';', Qt::SkipEmptyParts))
    if (!statement.trimmed().isEmpty()) db.execute(statement);
}

}  // namespace

void CreaSchemaNegozio(Database& db) {
  const int versione = VersioneArchivio(db);
  RifiutaArchivioPiuRecente(db.path(), versione);
  Database::Transaction transaction(db);
  for (const Tabella& tabella : kTabelle) {
    if (db.tableExists(tabella.nome)) continue;
    db.execute(QStringLiteral("CREATE TABLE [%1] (%2)")
                   .arg(QString::fromUtf8(tabella.nome), QString::fromUtf8(tabella.colonne)));
    eseguiTutte(db, QString::fromUtf8(tabella.indici));
  }
  if (!db.tableExists("prodotti") && db.tableExists("Magazzino") && db.tableExists("Reparti"))
    db.execute(kVistaProdotti);
  if (versione < kVersioneArchivio) AggiornaSchemaArchivio(db, versione);
  CreaStoricoPrezzi(db);
  transaction.commit();
}

}  // namespace listinova
