#include "import/testo_delimitato.h"

#include <algorithm>

#include "import/barcode_importato.h"
#include "platform/money.h"

namespace listinova {
namespace {

// Every product of a text file arrives with this stock, whatever the file says.
constexpr char kQuantitaTesto[] = "2000";
constexpr char kQuantitaPelidor[] = "0";
constexpr char kRepartoAssente[] = "1";

struct CampoFisso {
  int posizione;
  int lunghezza;
};
// The "Pelidor 35" columns; the price is in cents.
constexpr CampoFisso kPelidorReparto{1, 2};
constexpr CampoFisso kPelidorBarcode{3, 14};
constexpr CampoFisso kPelidorDescrizione{17, 20};
constexpr CampoFisso kPelidorPrezzo{38, 5};

QString fisso(const QString& riga, CampoFisso campo) {
  return riga.mid(campo.posizione - 1, campo.lunghezza).trimmed();
}

// The product of one "Pelidor 35" line, or the reason it has none.
std::optional<QString> leggiPelidor(const QString& riga, ProdottoDaTesto& p) {
  p.reparto = fisso(riga, kPelidorReparto);
  p.barcode = fisso(riga, kPelidorBarcode);
  p.descrizione = fisso(riga, kPelidorDescrizione);
  p.quantita = kQuantitaPelidor;
  const QString centesimi = fisso(riga, kPelidorPrezzo);
  bool ok = centesimi.isEmpty();
  const qint64 valore = ok ? 0 : centesimi.toLongLong(&ok);
  if (!ok) return QStringLiteral("prezzo \"%1\" non numerico").arg(centesimi);
  p.importo = Money::fromCents(valore);
  p.prezzo = p.importo.toItalian(2);
  if (!p.reparto.isEmpty() && !InteroIniziale(p.reparto))
    return QStringLiteral("reparto \"%1\" non numerico").arg(p.reparto);
  if (auto numero = InteroIniziale(p.reparto)) p.reparto = QString::number(*numero);
  return std::nullopt;
}

std::optional<QString> leggiDelimitata(const QString& riga, const OpzioniTesto& o,
                                       ProdottoDaTesto& p) {
  // Views into the line: only the fields the import takes become strings of their own.
  const QList<QStringView> campi = QStringView(riga).split(*o.separatore);
  const PosizioniImport& pos = o.posizioni;
  const int servono = std::max({pos.barcode, pos.descrizione, pos.reparto, pos.prezzoVendita});
  if (campi.size() < servono)
    return QStringLiteral("%1 campi, ne servono almeno %2").arg(campi.size()).arg(servono);
  const auto campo = [&campi](int posizione) { return campi[posizione - 1].toString(); };
  p.barcode = campo(pos.barcode).trimmed().remove('"');
  p.quantita = kQuantitaTesto;
  const QString reparto = campo(pos.reparto).trimmed();
  if (reparto.isEmpty()) {
    p.reparto = kRepartoAssente;
  } else if (auto numero = InteroIniziale(reparto)) {
    p.reparto = QString::number(*numero);
  } else {
    return QStringLiteral("reparto \"%1\" non numerico").arg(reparto);
  }
  // As FormattaInEuro: an empty price is 0,00; a point is a decimal comma.
  const QString prezzo = campo(pos.prezzoVendita).trimmed();
  if (!prezzo.isEmpty()) {
    const auto importo = Money::parse(QString(prezzo).replace('.', ','));
    if (!importo) return QStringLiteral("prezzo \"%1\" non valido").arg(prezzo);
    p.importo = importo->roundedTo(2);
  }
  p.prezzo = p.importo.toItalian(2);
  p.descrizione = campo(pos.descrizione).trimmed();
  return std::nullopt;
}

}  // namespace

std::optional<long long> InteroIniziale(const QString& testo) {
  const QString t = testo.trimmed();
  qsizetype fine = (t.startsWith('-') || t.startsWith('+')) ? 1 : 0;
  const qsizetype inizioCifre = fine;
  while (fine < t.size() && t[fine].isDigit()) ++fine;
  if (fine == inizioCifre) return std::nullopt;
  bool ok = false;
  const long long valore = t.left(fine).toLongLong(&ok);
  return ok ? std::optional<long long>(valore) : std::nullopt;
}

std::optional<QString> LeggiRigaTesto(const QString& riga, const OpzioniTesto& opzioni,
                                      ProdottoDaTesto& p) {
  auto rifiuto = opzioni.pelidor35 ? leggiPelidor(riga, p) : leggiDelimitata(riga, opzioni, p);
  if (rifiuto) return rifiuto;
  if (auto barcode = ControllaBarcode(p.barcode)) return barcode;
  if (p.barcode.isEmpty() && p.descrizione.isEmpty())
    return QStringLiteral("né codice a barre né descrizione");
  if (p.reparto.startsWith('-')) return QStringLiteral("reparto %1 negativo").arg(p.reparto);
  if (p.importo < Money()) return QStringLiteral("prezzo %1 negativo").arg(p.prezzo);
  return std::nullopt;
}

}  // namespace listinova
