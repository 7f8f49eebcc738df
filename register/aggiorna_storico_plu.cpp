#include "register/aggiorna_storico_plu.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <cmath>
#include <vector>

#include "platform/db/database.h"
#include "platform/db/sqlite_statement.h"
#include "platform/db/stored_value.h"
#include "register/posizione_ricezione.h"
#include "register/protocollo_ostrel.h"

namespace listinova {

namespace {

using platform::db::Database;
using platform::db::Recordset;

constexpr qint64 kMillesimiPerUnita = 1000;
// In-store codes ("2" and then the item number) reach the register as these five characters.
constexpr qsizetype kInizioCodiceInterno = 2;
constexpr qsizetype kLunghezzaCodiceInterno = 5;
constexpr int kAmbiguo = -1;

struct Vendita {
  QString barCode;
  qint64 millesimi;
};

QString chiave(const QString& barCode) { return barCode.trimmed().toUpper(); }

struct RigheLette {
  QStringList righe;
  qint64 fine = 0;  // just past the last whole line
};

// The whole lines from byte `da` on; the program writes UTF-8, an older file may be
// Windows-1252. A line still being written (no line end yet) waits for the next booking.
std::optional<RigheLette> righeDa(const QString& percorso, qint64 da, QString& errore) {
  QFile file(percorso);
  if (!file.open(QIODevice::ReadOnly)) {
    errore = QStringLiteral("Impossibile leggere %1: %2").arg(percorso, file.errorString());
    return std::nullopt;
  }
  if (da > file.size() || !file.seek(da)) return RigheLette{{}, da};
  QByteArray byte = file.readAll();
  byte.truncate(byte.lastIndexOf('\n') + 1);
  RigheLette lette{{}, da + byte.size()};
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString testo = utf8(byte);
  if (utf8.hasError()) testo = DecodificaDaRegistratore(byte);
  lette.righe = testo.split(u'\n');
  lette.righe.removeLast();
  for (QString& riga : lette.righe)
    if (riga.endsWith(u'\r')) riga.chop(1);
  return lette;
}

// The stock in thousandths when it holds no finer fraction, so sales subtract exactly.
std::optional<qint64> inMillesimi(double quantita) {
  const double scalata = quantita * kMillesimiPerUnita;
  const double intera = std::round(scalata);
  if (std::fabs(scalata - intera) > 1e-6 || std::fabs(intera) > 9e15) return std::nullopt;
  return static_cast<qint64>(intera);
}

// The products as the booking looks them up, read once.
class ProdottiInArchivio {
 public:
  explicit ProdottiInArchivio(Database& db)
      : magazzino_(db.openRecordset(
            QStringLiteral("Select CodMateriale, BarCode, Quantità from Magazzino"))) {
    for (int riga = 0; !magazzino_.eof(); magazzino_.moveNext(), ++riga) {
      const QString barCode = magazzino_.text(QStringLiteral("BarCode")).trimmed();
      perCodice_.insert(chiave(magazzino_.text(QStringLiteral("CodMateriale"))), riga);
      barCodeDi_.push_back(barCode);
      if (barCode.isEmpty()) continue;
      // The first product keeps a code two of them share, as a look-up by barcode finds it.
      if (!perBarCode_.contains(chiave(barCode))) perBarCode_.insert(chiave(barCode), riga);
      if (barCode.startsWith(u'2') && barCode.size() != kLunghezzaCodiceInterno) {
        const QString interno = barCode.mid(kInizioCodiceInterno, kLunghezzaCodiceInterno);
        // Two in-store products with one item number cannot be told apart: neither is taken.
        const auto trovato = interni_.constFind(interno);
        interni_.insert(interno, trovato == interni_.constEnd() ? riga : kAmbiguo);
      }
    }
    for (auto rs =
             db.openRecordset(QStringLiteral("Select CodProd, BarCode from BarCodeUlteriori"));
         !rs.eof(); rs.moveNext()) {
      const QString barCode = chiave(rs.text(QStringLiteral("BarCode")));
      if (!barCode.isEmpty() && !ulteriori_.contains(barCode))
        ulteriori_.insert(barCode, chiave(rs.text(QStringLiteral("CodProd"))));
    }
    venduto_.assign(barCodeDi_.size(), 0);
  }

  struct Trovato {
    int riga = -1;  // -1: no product
    QString ean;    // the barcode the history row carries
  };

  Trovato cerca(const QString& barCode) const {
    const QString k = chiave(barCode);
    if (const auto u = ulteriori_.constFind(k); u != ulteriori_.constEnd())
      return {perCodice_.value(*u, -1), barCode};
    if (const auto b = perBarCode_.constFind(k); b != perBarCode_.constEnd()) return {*b, barCode};
    if (const auto i = interni_.constFind(k); i != interni_.constEnd() && *i != kAmbiguo)
      return {*i, barCodeDi_[*i]};
    return {-1, barCode};
  }

  void vendi(int riga, qint64 millesimi) { venduto_[riga] += millesimi; }

  // Each product that sold is rewritten once.
  void aggiornaGiacenze() {
    int riga = 0;
    for (magazzino_.moveFirst(); !magazzino_.eof(); magazzino_.moveNext(), ++riga) {
      const qint64 venduto = venduto_[riga];
      if (venduto == 0) continue;
      const double giacenza = magazzino_.number(QStringLiteral("Quantità"));
      const std::optional<qint64> esatta = inMillesimi(giacenza);
      const double nuova = esatta ? static_cast<double>(*esatta - venduto) / kMillesimiPerUnita
                                  : giacenza - static_cast<double>(venduto) / kMillesimiPerUnita;
      magazzino_.edit();
      magazzino_.setValue(QStringLiteral("Quantità"), nuova);
      magazzino_.update();
    }
  }

 private:
  Recordset magazzino_;
  QHash<QString, int> perCodice_;
  QHash<QString, int> perBarCode_;
  QHash<QString, int> interni_;
  QHash<QString, QString> ulteriori_;
  std::vector<QString> barCodeDi_;
  std::vector<qint64> venduto_;
};

}  // namespace

CampiVendita CampiPerMetodo(MetodoLettura metodo, bool torvane) {
  if (torvane) return {3, 12};
  return metodo == MetodoLettura::PerProdotto ? CampiVendita{3, 8} : CampiVendita{4, 12};
}

std::optional<qint64> MillesimiDa(const QString& campo, QString* motivo) {
  static const QRegularExpression kIntero(QStringLiteral("^[+-]?[0-9]+$"));
  const QString testo = campo.trimmed();
  if (testo.isEmpty()) return 0;
  const auto scarta = [&](const QString& perche) -> std::optional<qint64> {
    if (motivo) *motivo = perche;
    return std::nullopt;
  };
  if (!kIntero.match(testo).hasMatch())
    return scarta(QStringLiteral("quantità \"%1\" non numerica").arg(testo));
  bool numero = false;
  const qint64 valore = testo.toLongLong(&numero);
  if (!numero || valore > kMassimiMillesimi || valore < -kMassimiMillesimi)
    return scarta(
        QStringLiteral("quantità \"%1\" fuori dai limiti della cassa (±99.999,999)").arg(testo));
  return valore;
}

EsitoPrenotazione AggiornaStoricoPLU(Database& db, const QString& percorso, MetodoLettura metodo,
                                     bool torvane, const QDate& oggi) {
  EsitoPrenotazione esito;
  try {
    std::optional<PosizioneRicezione> segno = LeggiPosizioneRicezione(db, percorso);
    if (!segno) segno = PosizioneRicezione{0, metodo, torvane};
    const std::optional<RigheLette> lette = righeDa(percorso, segno->posizione, esito.errore);
    if (!lette) {
      esito.riuscita = false;
      return esito;
    }
    if (lette->fine == segno->posizione) return esito;
    std::vector<Vendita> vendite;
    if (segno->metodo) {
      const CampiVendita campi = CampiPerMetodo(*segno->metodo, segno->torvane);
      for (const QString& riga : lette->righe) {
        if (riga.isEmpty()) continue;
        const QStringList parti = riga.split(u'/');
        const QString barCode = parti.value(campi.barCode).trimmed();
        QString motivo;
        const std::optional<qint64> millesimi = MillesimiDa(parti.value(campi.quantita), &motivo);
        if (parti.size() <= campi.quantita)
          motivo = QStringLiteral("riga di %1 campi, troppo corta").arg(parti.size());
        else if (barCode.isEmpty())
          motivo = QStringLiteral("codice a barre mancante");
        if (!motivo.isEmpty()) {
          esito.nonRegistrate.push_back({riga, motivo});
          continue;
        }
        vendite.push_back({barCode, *millesimi});
      }
    }

    Database::Transaction transazione(db);
    ProdottiInArchivio prodotti(db);
    // The history is only appended to: one statement prepared once, not a recordset of it.
    platform::db::SqliteStatement storico(
        db.handle(),
        QStringLiteral("INSERT INTO StoricoPLU (EAN, Qta, DataModif) VALUES (?, ?, ?)"));
    const QString giorno = platform::db::storedDate(oggi);
    for (const Vendita& v : vendite) {
      const ProdottiInArchivio::Trovato trovato = prodotti.cerca(v.barCode);
      if (trovato.riga >= 0)
        prodotti.vendi(trovato.riga, v.millesimi);
      else
        ++esito.sconosciute;
      storico.reset();
      storico.bind(1, trovato.ean);
      storico.bind(2, static_cast<double>(v.millesimi) / kMillesimiPerUnita);
      storico.bind(3, giorno);
      storico.step();
      ++esito.prenotate;
    }
    prodotti.aggiornaGiacenze();
    segno->posizione = lette->fine;
    ScriviPosizioneRicezione(db, percorso, *segno);
    transazione.commit();
  } catch (const platform::db::DatabaseError& errore) {
    esito = EsitoPrenotazione{false, 0, 0, {}, errore.description()};
  }
  return esito;
}

}  // namespace listinova
