#!/usr/bin/env python3
"""Checks the stock and sales workbooks with an independent reader: LibreOffice.

Makes a shop folder with a known archive, runs `listinova esporta ...`, converts every sheet
to CSV with `soffice --headless --convert-to csv` and compares each cell with the archive.
Usage: confronta_con_libreoffice.py PATH/TO/listinova
"""
import csv
import glob
import os
import sqlite3
import subprocess
import sys
import tempfile
from decimal import Decimal

PRODOTTI = [
    # CodMateriale, Descrizione, BarCode, Quantità, Costo, Costo2, Fornitore, Genere
    ("1", "ACQUA NATURALE", "0001234567895", 1000, "0.50", "0.10", "FONTI", "Bevande"),
    ("2", "BISCOTTI", "8001234567890", 3, "2.35", "1.15", "ROSSI", "Dolci"),
    ("3", "CAFFE' MOKA", "8000000000017", -2, "4.99", "3.33", "ROSSI", "Bar"),
    ("4", "ZUCCHERO", "80000019", 0, "1234.56", "1000", "BIANCHI", ""),
]
VENDITE = [("8001234567890", 2, "2026-11-20"), ("0001234567895", 6, "2026-11-21"),
           ("8001234567890", 1.5, "2026-11-25")]


def esegui(argomenti, **kw):
    r = subprocess.run(argomenti, capture_output=True, text=True, timeout=300, **kw)
    if r.returncode != 0:
        sys.exit(f"{argomenti} -> {r.returncode}\n{r.stdout}\n{r.stderr}")
    return r


def fogli_csv(xlsx, cartella):
    """Every sheet of `xlsx` as rows of texts, by sheet name, as LibreOffice reads them."""
    # 44 comma, 34 quote, 76 UTF-8, then: raw values (not formatted), every sheet (-1).
    filtro = 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1'
    esegui(["soffice", "--headless", "--convert-to", filtro, "--outdir", cartella, xlsx],
           env=dict(os.environ, HOME=cartella))
    base = os.path.splitext(os.path.basename(xlsx))[0]
    fogli = {}
    for f in glob.glob(os.path.join(cartella, base + "-*.csv")):
        nome = os.path.basename(f)[len(base) + 1:-4]
        with open(f, newline="", encoding="utf-8") as h:
            fogli[nome] = list(csv.reader(h))
    return fogli


def data_di(testo):
    mese, giorno, anno = testo.split("/")
    anno = int(anno) + (2000 if len(anno) == 2 else 0)
    return f"{anno:04d}-{int(mese):02d}-{int(giorno):02d}"


def numero(testo):
    return Decimal(testo).quantize(Decimal("0.01"))


def main():
    programma = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as cartella:
        negozio = os.path.join(cartella, "negozio")
        ambiente = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=cartella,
                        XDG_CONFIG_HOME=os.path.join(cartella, ".config"))
        # The first run makes the shop folder and its store.
        esegui([programma, "esporta", "magazzino", os.path.join(cartella, "vuoto.xlsx"),
                "--cartella", negozio], env=ambiente)
        db = sqlite3.connect(os.path.join(negozio, "Dati", "DbNegozio.mdb"))
        for p in PRODOTTI:
            db.execute("INSERT INTO Magazzino (CodMateriale, Descrizione, BarCode, Quantità, Costo,"
                       " Costo2, Fornitore, Genere, UnitaMisura) VALUES (?,?,?,?,?,?,?,?,'Pz')",
                       (p[0], p[1], p[2], p[3], float(p[4]), float(p[5]), p[6], p[7]))
        for v in VENDITE:
            db.execute("INSERT INTO StoricoPLU (EAN, Qta, DataModif) VALUES (?,?,?)", v)
        db.commit()
        db.close()

        magazzino = os.path.join(cartella, "magazzino.xlsx")
        esegui([programma, "esporta", "magazzino", magazzino, "--cartella", negozio], env=ambiente)
        fogli = fogli_csv(magazzino, cartella)
        assert sorted(fogli) == ["Foglio1", "Foglio2"], sorted(fogli)
        righe = fogli["Foglio1"]
        assert righe[0] == ["BarCode", "CodProdottoFornitore", "Descrizione", "CostoAcquisto",
                            "UnitaMisura", "Quantità", "PrezzoVendita", "ValoreMAGAZZINO",
                            "ValoreVENDITA", "Fornitore", "Genere"], righe[0]
        attesi = sorted(PRODOTTI, key=lambda p: p[1])
        assert len(righe) == len(attesi) + 1, righe
        totale_acquisto = totale_vendita = Decimal(0)
        for riga, p in zip(righe[1:], attesi):
            assert riga[0] == p[2], (riga, p)  # barcodes as text, leading zeros kept
            assert riga[2] == p[1] and riga[9] == p[6] and riga[10] == p[7], (riga, p)
            assert numero(riga[3]) == Decimal(p[5]) and numero(riga[6]) == Decimal(p[4]), riga
            assert Decimal(riga[5]) == p[3], riga
            acquisto = (Decimal(p[5]) * p[3]).quantize(Decimal("0.01"))
            vendita = (Decimal(p[4]) * p[3]).quantize(Decimal("0.01"))
            assert numero(riga[7]) == acquisto and numero(riga[8]) == vendita, (riga, p)
            totale_acquisto += acquisto
            totale_vendita += vendita
        totali = fogli["Foglio2"]
        assert totali[0] == ["ValoreTOTALEMAGAZZINO", "ValoreTotCOMEVENDITA", "DIFFERENZA"]
        assert [numero(t) for t in totali[1]] == [totale_acquisto, totale_vendita,
                                                 totale_vendita - totale_acquisto], totali

        vendite = os.path.join(cartella, "vendite.xlsx")
        esegui([programma, "esporta", "vendite", "--dal", "20/11/2026", "--al", "21/11/2026",
                vendite, "--cartella", negozio], env=ambiente)
        fogli = fogli_csv(vendite, cartella)
        assert list(fogli) == ["Foglio1"], list(fogli)
        righe = fogli["Foglio1"]
        assert righe[0] == ["Descrizione", "EAN", "Qta", "DataModif"], righe[0]
        assert [r[:3] for r in righe[1:]] == [["ACQUA NATURALE", "0001234567895", "6"],
                                              ["BISCOTTI", "8001234567890", "2"]], righe
        # Raw values: LibreOffice writes a date cell month first; a text would stay as stored.
        assert [data_di(r[3]) for r in righe[1:]] == ["2026-11-21", "2026-11-20"], righe
        print("LibreOffice legge i fogli come l'archivio:",
              len(PRODOTTI), "prodotti,", len(righe) - 1, "vendite")


if __name__ == "__main__":
    main()
