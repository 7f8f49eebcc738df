// The label layout and its single row in FormatoEtichetta.
#include "printing/layout_etichetta.h"

#include "platform/db/database.h"

namespace listinova {
namespace {

// Column letters of each element (FormatoEtichetta) by element index.
constexpr std::array<const char*, kElementiTesto> kLettere = {"P", "CF", "C", "F", "BC"};
// Position columns (X, Y) by element index.
constexpr std::array<std::pair<const char*, const char*>, kElementiTesto> kColonnePosizione = {{
    {"XPeso", "YPeso"},
    {"XCodFornitura", "YCodFornitura"},
    {"XCliente", "YCliente"},
    {"XFornitura", "YFornitura"},
    {"XBC", "YBC"},
}};

QString Vero(bool valore) { return valore ? QStringLiteral("-1") : QStringLiteral(" 0"); }

QString TestoSql(QString testo) { return testo.replace('\'', "''"); }

void LeggiPosizione(const platform::db::Recordset& rs, const char* colonna, double& dove) {
  if (!rs.isNull(colonna)) dove = rs.number(colonna);
}

// The positions stores were first given, whose logo covers the description's end and whose
// bars run past the cell: a layout nobody has moved since is read as today's design.
bool ComePrimaVersione(const LayoutEtichetta& l) {
  const auto& t = l.testi;
  const std::array<double, 12> prima = {60,   120, 330,  120, 700, 120,
                                        1150, 120, 1400, 120, 60,  2300};
  const std::array<double, 12> letti = {
      t[kNomeNegozio].top, t[kNomeNegozio].left, t[kDescrizione].top, t[kDescrizione].left,
      t[kPrezzo].top,      t[kPrezzo].left,      t[kPrezzoAlKg].top,  t[kPrezzoAlKg].left,
      t[kCodiceBarre].top, t[kCodiceBarre].left, l.logoTop,           l.logoLeft};
  return letti == prima;
}

}  // namespace

QSizeF DimensioneCodice(double punti, qsizetype cifre) {
  const double corpo = punti * kTwipsPerPunto;
  return {corpo * (cifre == 13 ? kLarghezzaEAN13SuCorpo : kLarghezzaEAN8SuCorpo),
          corpo * kAltezzaBarreSuCorpo};
}

// Laid out in the 6 x 2.7125 cm cell of a 3 x 8 A4 sheet: the shop name beside the logo, the
// description under both across the label, the price with room beneath it for the earlier
// price of an offer, the price per kilo under that, and the bars on the right (81 %).
LayoutEtichetta LayoutEtichetta::progettato() {
  LayoutEtichetta l;
  l.testi[kNomeNegozio] = {"MiaAttività", 60, 110, {"Arial", 7}};
  l.testi[kDescrizione] = {"DES", 520, 110, {"Arial", 9, true}};
  l.testi[kPrezzo] = {"PRZ", 760, 110, {"Arial", 16, true}};
  l.testi[kPrezzoAlKg] = {"Prz/Kg", 1290, 110, {"Arial", 7}};
  l.testi[kCodiceBarre] = {"BC", 840, 1622, {"Code EAN13", 20}};
  l.logoTop = 50;
  l.logoLeft = 2842;
  return l;
}

QString LettereGruppo(int indice) { return QString::fromLatin1(kLettere.at(indice)); }

bool CaricaLayout(platform::db::Database& db, LayoutEtichetta& layout) {
  auto rs = db.openRecordset("Select * from FormatoEtichetta");
  if (rs.eof()) return false;
  layout.numCol = rs.isNull("NumCol") ? 3 : static_cast<int>(rs.integer("NumCol"));
  layout.numRow = rs.isNull("NumRow") ? 8 : static_cast<int>(rs.integer("NumRow"));
  for (int i = 0; i < kElementiTesto; ++i) {
    ElementoTesto& e = layout.testi[i];
    LeggiPosizione(rs, kColonnePosizione[i].first, e.top);
    LeggiPosizione(rs, kColonnePosizione[i].second, e.left);
    const QString g = LettereGruppo(i);
    if (!rs.isNull("Font" + g) && !rs.text("Font" + g).isEmpty())
      e.carattere.nome = rs.text("Font" + g);
    if (!rs.isNull("FontSize" + g) && rs.number("FontSize" + g) > 0)
      e.carattere.punti = rs.number("FontSize" + g);
    if (!rs.isNull("Bold" + g)) e.carattere.grassetto = rs.flag("Bold" + g);
    if (!rs.isNull("Italic" + g)) e.carattere.corsivo = rs.flag("Italic" + g);
    if (!rs.isNull("Under" + g)) e.carattere.sottolineato = rs.flag("Under" + g);
    if (!rs.isNull("Color" + g)) e.carattere.colore = static_cast<quint32>(rs.integer("Color" + g));
  }
  LeggiPosizione(rs, "XPicture", layout.logoTop);
  LeggiPosizione(rs, "YPicture", layout.logoLeft);
  if (ComePrimaVersione(layout)) {
    const LayoutEtichetta nuovo = LayoutEtichetta::progettato();
    for (int i = 0; i < kElementiTesto; ++i) {
      layout.testi[i].top = nuovo.testi[i].top;
      layout.testi[i].left = nuovo.testi[i].left;
    }
    // the two sizes the new places were drawn for, unless the user chose others
    double& negozio = layout.testi[kNomeNegozio].carattere.punti;
    double& barre = layout.testi[kCodiceBarre].carattere.punti;
    if (negozio == 8) negozio = nuovo.testi[kNomeNegozio].carattere.punti;
    if (barre == 22) barre = nuovo.testi[kCodiceBarre].carattere.punti;
    layout.logoTop = nuovo.logoTop;
    layout.logoLeft = nuovo.logoLeft;
  }
  return true;
}

QString NumeroPerIstruzione(double valore) {
  const QString testo = QString::number(valore, 'g', 15);
  return valore < 0 ? testo : " " + testo;
}

QString IstruzionePosizioni(const LayoutEtichetta& l, const QString& numCol,
                            const QString& numRow) {
  const auto n = NumeroPerIstruzione;
  const auto& t = l.testi;
  return "UPDATE FormatoEtichetta SET NumCol =" + n(numCol.toInt()) +
         ", NumRow =" + n(numRow.toInt()) + ", XFornitura =" + n(t[kNomeNegozio].top) +
         ", YFornitura =" + n(t[kNomeNegozio].left) + "," + "XCliente =" + n(t[kPrezzo].top) +
         ", YCliente =" + n(t[kPrezzo].left) + ", XCodFornitura=" + n(t[kDescrizione].top) +
         ", YCodFornitura =" + n(t[kDescrizione].left) + "," + "XPicture =" + n(l.logoTop) +
         ", YPicture=" + n(l.logoLeft) + "," + "XPeso =" + n(t[kPrezzoAlKg].top) +
         ", YPeso=" + n(t[kPrezzoAlKg].left) + "," + "XBC=" + n(t[kCodiceBarre].top) +
         ", YBC=" + n(t[kCodiceBarre].left);
}

QString IstruzioneCaratteri(const LayoutEtichetta& l) {
  QString sql = "UPDATE FormatoEtichetta SET ";
  // The groups in the order the statement has always had.
  constexpr std::array<int, kElementiTesto> ordine = {kNomeNegozio, kDescrizione, kPrezzo,
                                                      kPrezzoAlKg, kCodiceBarre};
  for (size_t k = 0; k < ordine.size(); ++k) {
    const CarattereEtichetta& c = l.testi[ordine[k]].carattere;
    const QString g = LettereGruppo(ordine[k]);
    if (k > 0) sql += ", ";
    sql += "Font" + g + " ='" + TestoSql(c.nome) + "', FontSize" + g + " =" +
           NumeroPerIstruzione(c.punti) + ", Bold" + g + " =" + Vero(c.grassetto) + ", Italic" + g +
           " =" + Vero(c.corsivo) + "," + "Under" + g + " =" + Vero(c.sottolineato) + ", Color" +
           g + " =" + NumeroPerIstruzione(c.colore);
  }
  return sql;
}

}  // namespace listinova
