-- The rows of both test stores: accented names in both cases (which the earlier program's own
-- NOCASE ordered differently from SQLite's), amounts with and without binary noise, dates,
-- flags, empty values.
UPDATE Reparti SET Descrizione = 'Panetteria', Iva = 4 WHERE Cod = 1;
UPDATE Reparti SET Descrizione = 'Caffè', Iva = 22, PrezzoPrefissato = 1.1 WHERE Cod = 2;
UPDATE Reparti SET Descrizione = 'CITTÀ', Iva = 10, NoFiscale = -1 WHERE Cod = 3;
INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Genere, Quantità, Minimo, Costo,
  Costo2, CodPV, UnitaMisura, Fornitore, Taglia, Colore, TipoMateriale, Eliminato, Modificato,
  TipoVariazione, Note, PeriodoRiordino, DataInizioPromo, DataFinePromo, PrezzoPromo) VALUES
  ('1', 'Caffè espresso', '8001234567890', 'Caffè', 12, 2, 1.1, 0.55, '22', 'Pz', 'LAVAZZA', '', '', '250 g', 0, -1, 'F', 'Nota con l''apostrofo', 7, '2026-12-01', '2026-12-24', 0.99),
  ('2', 'CAFFÈ D''ORZO', '8001234567906', 'Caffè', 3.5, 0, 2.35, 1.2, '22', 'Pz', 'ÀNFORA', 'M', 'Rosso', '', 0, 0, 'F', NULL, 0, NULL, NULL, NULL),
  ('3', 'àncora', '2000000000015', 'Panetteria', -1, 0, 0.1, 0.05, '4', 'Kg', 'ÀNFORA', '', '', '', 0, 0, NULL, '', 0, NULL, NULL, NULL),
  ('4', 'ÀNFORA', '2000000000022', 'CITTÀ', 0, 0, 0.1 + 0.2, 0, '10', 'Pz', 'àncora', '', '', '', -1, -1, 'V', NULL, 0, NULL, NULL, NULL),
  ('5', 'Òrzo solubile', '80012345', 'Caffè', 1234.5678, 1, 1234.5678, 999.9999, '22', 'Pz', '***', 'XL', 'Blu', '1 kg', 0, 0, 'F', NULL, 30, '2026-01-01 08:30:00', '2026-02-01', 1000),
  ('6', 'orzo', '8001234567913', '2', 0.001, 0, 0, 0, '', 'Lt', '***', '', '', '', 0, 0, 'F', NULL, 0, NULL, NULL, NULL),
  ('7', 'Città alta', '8001234567920', 'CITTÀ', 100, 10, 19.99, 12.5, '10', 'Pz', 'CITTÀ', '', '', '', 0, -1, 'F', NULL, 0, NULL, NULL, NULL),
  ('8', 'città', '8001234567937', 'CITTÀ', 2, 0, 5, 3, '10', 'Pz', 'città', '', '', '', 0, 0, 'F', NULL, 0, NULL, NULL, NULL);
INSERT INTO Offerte (Articolo, DataDAL, DataAL, PrzScnt, ScontoPer, ScontoVal, Pezzi) VALUES
  ('1', '2026-12-01', '2026-12-24', 0.99, 10, 0.11, 0),
  ('5', '2026-11-01', '2026-11-30', 1111.11, 0, 123.4578, 2);
INSERT INTO BarCodeUlteriori (CodProd, BarCode, CodPerTabProd, Inviato) VALUES
  ('1', '8009999999991', '1', -1), ('2', '8009999999908', '2', 0);
INSERT INTO StoricoPLU (EAN, Qta, DataModif) VALUES
  ('8001234567890', 3, '2026-12-05'), ('2000000000015', 0.75, '2026-12-05'),
  ('80012345', 1, '2026-12-06 18:45:00');
INSERT INTO Taglie (Pos, NomeElemento) VALUES (1, 'S'), (2, 'M'), (3, 'XL');
INSERT INTO Colori (Pos, NomeElemento) VALUES (1, 'Rosso'), (2, 'Blu');
