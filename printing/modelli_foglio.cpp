// The gLabels template catalogue, read as data.
#include "printing/modelli_foglio.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>

#include "printing/easy_print.h"
#include "printing/stampante_etichette.h"

namespace listinova {
namespace {

constexpr double kMmPerPunto = 25.4 / 72.0;

// A gLabels length: a number with an optional unit; points when none is given.
double Millimetri(QStringView testo) {
  static const std::pair<const char*, double> unita[] = {
      {"mm", 1.0}, {"cm", 10.0}, {"in", 25.4}, {"pt", kMmPerPunto}, {"pc", 12 * kMmPerPunto}};
  testo = testo.trimmed();
  for (const auto& [sigla, fattore] : unita)
    if (testo.endsWith(QLatin1String(sigla)))
      return testo.chopped(2).trimmed().toDouble() * fattore;
  return testo.toDouble() * kMmPerPunto;
}

double Attributo(const QXmlStreamAttributes& a, const char* nome) {
  return Millimetri(a.value(QLatin1String(nome)));
}

}  // namespace

std::vector<ModelloFoglio> LeggiModelliFoglio(const QByteArray& xml, bool ancheNonStampabili) {
  std::vector<ModelloFoglio> modelli;
  std::vector<std::pair<ModelloFoglio, QString>> equivalenti;  // template, the part it copies
  QXmlStreamReader lettore(xml);
  ModelloFoglio corrente;
  bool inTemplate = false;
  bool a4 = false;
  int etichette = 0;
  int layout = 0;
  while (!lettore.atEnd()) {
    lettore.readNext();
    const auto nome = lettore.name();
    if (lettore.isStartElement()) {
      const auto a = lettore.attributes();
      if (nome == u"Template") {
        corrente = {};
        corrente.marca = a.value("brand").toString();
        corrente.codice = a.value("part").toString();
        corrente.descrizione = a.value("_description").toString();
        if (corrente.descrizione.isEmpty())
          corrente.descrizione = a.value("description").toString();
        inTemplate = true;
        a4 = a.value("size") == u"A4";
        etichette = layout = 0;
        if (a.hasAttribute("equiv")) {
          equivalenti.push_back({corrente, a.value("equiv").toString()});
          inTemplate = false;
        }
      } else if (inTemplate && nome == u"Meta") {
        const auto categoria = a.value("category");
        if (categoria == u"round-label") corrente.impedimento = kFormaRotonda;
        if (categoria == u"elliptical-label") corrente.impedimento = kFormaEllittica;
      } else if (inTemplate && nome.startsWith(u"Label-")) {
        ++etichette;
        if (nome == u"Label-rectangle") {
          corrente.larghezza = Attributo(a, "width");
          corrente.altezza = Attributo(a, "height");
        } else if (nome == u"Label-round" || nome == u"Label-cd") {
          corrente.impedimento = kFormaRotonda;
        } else if (nome == u"Label-ellipse") {
          corrente.impedimento = kFormaEllittica;
        } else if (nome == u"Label-continuous") {
          corrente.impedimento = QStringLiteral("è a modulo continuo");
        } else {
          corrente.impedimento = QStringLiteral("ha etichette di forma particolare");
        }
      } else if (inTemplate && nome == u"Layout") {
        ++layout;
        corrente.colonne = a.value("nx").toInt();
        corrente.righe = a.value("ny").toInt();
        corrente.x0 = Attributo(a, "x0");
        corrente.y0 = Attributo(a, "y0");
        corrente.passoX = Attributo(a, "dx");
        corrente.passoY = Attributo(a, "dy");
      }
    } else if (lettore.isEndElement() && nome == u"Template" && inTemplate) {
      inTemplate = false;
      // Sheets with several layouts or label shapes do not fit one grid of equal cells.
      const bool griglia = etichette == 1 && layout == 1 && corrente.larghezza > 0 &&
                           corrente.altezza > 0 && corrente.colonne > 0 && corrente.righe > 0;
      if (corrente.impedimento.isEmpty() && !a4)
        corrente.impedimento = QStringLiteral("non è in formato A4");
      if (corrente.impedimento.isEmpty() && !griglia)
        corrente.impedimento = QStringLiteral("non ha una sola griglia di etichette uguali");
      if (corrente.impedimento.isEmpty() || ancheNonStampabili) modelli.push_back(corrente);
    }
  }
  for (auto& [modello, parte] : equivalenti) {
    const auto base = std::find_if(modelli.begin(), modelli.end(), [&](const ModelloFoglio& m) {
      return m.marca == modello.marca && m.codice == parte;
    });
    if (base == modelli.end()) continue;
    ModelloFoglio copia = *base;
    copia.codice = modello.codice;
    modelli.push_back(copia);
  }
  return modelli;
}

std::vector<ModelloFoglio> CatalogoModelliFoglio(const QString& cartella, bool ancheNonStampabili) {
  std::vector<ModelloFoglio> catalogo;
  const QDir dir(cartella);
  for (const QString& file : dir.entryList({"*-templates.xml"}, QDir::Files, QDir::Name)) {
    QFile f(dir.filePath(file));
    if (!f.open(QIODevice::ReadOnly)) continue;
    for (auto& m : LeggiModelliFoglio(f.readAll(), ancheNonStampabili))
      catalogo.push_back(std::move(m));
  }
  std::sort(catalogo.begin(), catalogo.end(), [](const ModelloFoglio& a, const ModelloFoglio& b) {
    const int marca = QString::compare(a.marca, b.marca, Qt::CaseInsensitive);
    return marca != 0 ? marca < 0 : QString::compare(a.codice, b.codice, Qt::CaseInsensitive) < 0;
  });
  return catalogo;
}

std::optional<ModelloFoglio> TrovaModelloFoglio(const std::vector<ModelloFoglio>& catalogo,
                                                const QString& nome) {
  for (const auto& m : catalogo)
    if (m.nome() == nome) return m;
  return std::nullopt;
}

QString FoglioRifiutato(const QString& nome, const QString& cartella) {
  const auto modello = TrovaModelloFoglio(CatalogoModelliFoglio(cartella, true), nome);
  if (!modello)
    return "Il foglio \"" + nome +
           "\" non è nel catalogo dei fogli di etichette: sceglierne "
           "un altro nell'editor delle etichette.";
  if (modello->impedimento.isEmpty()) return {};
  return "Il foglio \"" + nome + "\" " + modello->impedimento +
         ": non si possono stampare etichette su questo foglio. Sceglierne un altro nell'editor "
         "delle etichette.";
}

void ApplicaModelloFoglio(EasyPrint& motore, const ModelloFoglio& m) {
  const QSizeF paginaMm = motore.paginaTwips() / kTwipsPerMm;
  const double gapX = std::max(0.0, m.passoX - m.larghezza);
  const double gapY = std::max(0.0, m.passoY - m.altezza);
  motore.setScaleMode(kMillimetri);
  motore.setMaxCol(m.colonne);
  motore.setMaxRow(m.righe);
  motore.setMarginLeft(m.x0);
  motore.setMarginTop(m.y0);
  motore.setMarginRight(paginaMm.width() - m.x0 - (m.colonne - 1) * (m.larghezza + gapX) -
                        m.larghezza);
  motore.setMarginBottom(paginaMm.height() - m.y0 - (m.righe - 1) * (m.altezza + gapY) - m.altezza);
  motore.setDistanze(gapX, gapY);
}

}  // namespace listinova
