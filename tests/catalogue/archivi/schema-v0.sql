-- The store's schema as Listinova wrote it before its schema version was kept (user_version 0):
-- text indexes then ordered by a NOCASE of the program's own, no price history.
CREATE TABLE [Magazzino] (CodMateriale TEXT COLLATE NOCASE, Descrizione TEXT COLLATE NOCASE, BarCode TEXT COLLATE NOCASE, Genere TEXT COLLATE NOCASE, Quantità DOUBLE DEFAULT 0, Minimo DOUBLE DEFAULT 0, Costo CURRENCY DEFAULT 0, Costo2 CURRENCY DEFAULT 0, CodPV TEXT COLLATE NOCASE, UnitaMisura TEXT COLLATE NOCASE, Fornitore TEXT COLLATE NOCASE, CodProdottoFornitore TEXT COLLATE NOCASE, Taglia TEXT COLLATE NOCASE, Colore TEXT COLLATE NOCASE, TipoMateriale TEXT COLLATE NOCASE, Eliminato BOOLEAN DEFAULT 0, Modificato BOOLEAN DEFAULT 0, TipoVariazione TEXT COLLATE NOCASE, Note TEXT COLLATE NOCASE, PeriodoRiordino INTEGER DEFAULT 0, CodArtCEDI TEXT COLLATE NOCASE, DataInizioPromo DATETIME, DataFinePromo DATETIME, PrezzoPromo CURRENCY);
CREATE UNIQUE INDEX Magazzino_CodMateriale ON Magazzino(CodMateriale);
CREATE INDEX Magazzino_BarCode ON Magazzino(BarCode);
CREATE INDEX Magazzino_Descrizione ON Magazzino(Descrizione);
CREATE INDEX Magazzino_CodProdottoFornitore ON Magazzino(CodProdottoFornitore);
CREATE INDEX Magazzino_CodArtCEDI ON Magazzino(CodArtCEDI);
CREATE TABLE [Reparti] (Cod INTEGER PRIMARY KEY, Descrizione TEXT COLLATE NOCASE, Iva DOUBLE DEFAULT 0, PrezzoPrefissato CURRENCY DEFAULT 0, Sconto DOUBLE DEFAULT 0, NoFiscale BOOLEAN DEFAULT 0, PercorsoIcon TEXT COLLATE NOCASE, Icon TEXT COLLATE NOCASE);
WITH RECURSIVE n(Cod) AS (SELECT 1 UNION ALL SELECT Cod + 1 FROM n WHERE Cod < 40) INSERT INTO Reparti (Cod, Descrizione, Iva, PrezzoPrefissato, Sconto, NoFiscale, PercorsoIcon, Icon) SELECT Cod, 'Reparto' || Cod, 0, 0, 0, 0, '', '' FROM n;
CREATE TABLE [Offerte] (Articolo TEXT COLLATE NOCASE, DataDAL DATETIME, DataAL DATETIME, PrzScnt CURRENCY DEFAULT 0, ScontoPer DOUBLE DEFAULT 0, ScontoVal CURRENCY DEFAULT 0, Pezzi INTEGER DEFAULT 0);
CREATE INDEX Offerte_Articolo ON Offerte(Articolo);
CREATE TABLE [BarCodeUlteriori] (CodProd TEXT COLLATE NOCASE, BarCode TEXT COLLATE NOCASE, CodPerTabProd TEXT COLLATE NOCASE, Inviato BOOLEAN DEFAULT 0);
CREATE INDEX BarCodeUlteriori_CodProd ON BarCodeUlteriori(CodProd);
CREATE INDEX BarCodeUlteriori_BarCode ON BarCodeUlteriori(BarCode);
CREATE TABLE [StoricoPLU] (EAN TEXT COLLATE NOCASE, Qta DOUBLE DEFAULT 0, DataModif DATETIME);
CREATE INDEX StoricoPLU_DataModif ON StoricoPLU(DataModif);
CREATE TABLE [Taglie] (Pos INTEGER, NomeElemento TEXT COLLATE NOCASE);

CREATE TABLE [Colori] (Pos INTEGER, NomeElemento TEXT COLLATE NOCASE);

CREATE TABLE [MagazzinoPerOstrel] (BarCode TEXT COLLATE NOCASE, Descrizione TEXT COLLATE NOCASE, Prezzo CURRENCY DEFAULT 0, Quantita DOUBLE DEFAULT 0, RepartoAss INTEGER DEFAULT 0, Ordinale INTEGER DEFAULT 0, CodArtMagazzino TEXT COLLATE NOCASE, UM TEXT COLLATE NOCASE, Modificato BOOLEAN DEFAULT 0);

CREATE TABLE [rptProdotti] (CodProdotto TEXT COLLATE NOCASE, Descrizione TEXT COLLATE NOCASE, Costo CURRENCY, CostoAcquisto CURRENCY, Prezzo2 CURRENCY, Reparto TEXT COLLATE NOCASE);

CREATE TABLE [rptMagazzino] (CodProdotto TEXT COLLATE NOCASE, Descrizione TEXT COLLATE NOCASE, Quantità DOUBLE, Costo CURRENCY, Costo2 CURRENCY, Colore TEXT COLLATE NOCASE, Categoria TEXT COLLATE NOCASE, Giacenze DOUBLE, UnitaMisura TEXT COLLATE NOCASE);

CREATE TABLE [FormatoEtichetta] (NumCol INTEGER, NumRow INTEGER, XFornitura REAL, YFornitura REAL, XCliente REAL, YCliente REAL, XCodFornitura REAL, YCodFornitura REAL, XPeso REAL, YPeso REAL, XBC REAL, YBC REAL, XPicture REAL, YPicture REAL, FontF TEXT COLLATE NOCASE, FontSizeF DOUBLE, BoldF INTEGER DEFAULT 0, ItalicF INTEGER DEFAULT 0, UnderF INTEGER DEFAULT 0, ColorF INTEGER DEFAULT 0, FontCF TEXT COLLATE NOCASE, FontSizeCF DOUBLE, BoldCF INTEGER DEFAULT 0, ItalicCF INTEGER DEFAULT 0, UnderCF INTEGER DEFAULT 0, ColorCF INTEGER DEFAULT 0, FontC TEXT COLLATE NOCASE, FontSizeC DOUBLE, BoldC INTEGER DEFAULT 0, ItalicC INTEGER DEFAULT 0, UnderC INTEGER DEFAULT 0, ColorC INTEGER DEFAULT 0, FontP TEXT COLLATE NOCASE, FontSizeP DOUBLE, BoldP INTEGER DEFAULT 0, ItalicP INTEGER DEFAULT 0, UnderP INTEGER DEFAULT 0, ColorP INTEGER DEFAULT 0, FontBC TEXT COLLATE NOCASE, FontSizeBC DOUBLE, BoldBC INTEGER DEFAULT 0, ItalicBC INTEGER DEFAULT 0, UnderBC INTEGER DEFAULT 0, ColorBC INTEGER DEFAULT 0);
INSERT INTO FormatoEtichetta (NumCol, NumRow, XFornitura, YFornitura, XCodFornitura, YCodFornitura, XCliente, YCliente, XPeso, YPeso, XBC, YBC, XPicture, YPicture, FontF, FontSizeF, FontCF, FontSizeCF, BoldCF, FontC, FontSizeC, BoldC, FontP, FontSizeP, FontBC, FontSizeBC) VALUES (3, 8, 60, 120, 330, 120, 700, 120, 1150, 120, 1400, 120, 60, 2300, 'Arial', 8, 'Arial', 9, -1, 'Arial', 16, -1, 'Arial', 7, 'Code EAN13', 22);
CREATE TABLE [B_CEDI] (TipoVariazione TEXT COLLATE NOCASE, DataVariazione TEXT COLLATE NOCASE, CodFornitore TEXT COLLATE NOCASE, CodArticoloFornitore TEXT COLLATE NOCASE, CodEan TEXT COLLATE NOCASE, EANMoltiplicatore TEXT COLLATE NOCASE, TipoArticolo TEXT COLLATE NOCASE, EANPrimario TEXT COLLATE NOCASE, ArtCEDI TEXT COLLATE NOCASE, CodArtCEDI TEXT COLLATE NOCASE, DifferenziatoreArtCEDI TEXT COLLATE NOCASE, RepartoCassa TEXT COLLATE NOCASE, Filler4 TEXT COLLATE NOCASE, CodForPrevalente TEXT COLLATE NOCASE, DiffFornitPrevalente TEXT COLLATE NOCASE, LineaFornitore TEXT COLLATE NOCASE, Filler5 TEXT COLLATE NOCASE);
CREATE INDEX B_CEDI_ArtCEDI ON B_CEDI(ArtCEDI);
CREATE VIEW prodotti AS SELECT CASE WHEN m.Genere GLOB '[0-9]*' AND m.Genere NOT GLOB '*[^0-9]*' THEN CAST(m.Genere AS INTEGER) ELSE (SELECT r.Cod FROM Reparti r WHERE r.Descrizione = m.Genere) END AS codreparto, m.CodMateriale AS Cod, m.Descrizione AS Descrizione, m.Costo AS Costo, m.Costo AS Prezzo1, m.Costo2 AS Prezzo2, m.Eliminato AS Eliminato FROM Magazzino m;
