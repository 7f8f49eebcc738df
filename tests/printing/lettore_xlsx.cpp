// A small independent .xlsx reader: the zip through libzip, the parts through Qt's XML reader.
#include "printing/lettore_xlsx.h"

#include <zip.h>

#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>

namespace listinova::testing {
namespace {

std::optional<QByteArray> parte(zip_t* archivio, const QString& nome) {
  zip_stat_t info;
  if (zip_stat(archivio, nome.toUtf8().constData(), 0, &info) != 0) return std::nullopt;
  zip_file_t* file = zip_fopen(archivio, nome.toUtf8().constData(), 0);
  if (!file) return std::nullopt;
  QByteArray dati(qsizetype(info.size), '\0');
  const zip_int64_t letti = zip_fread(file, dati.data(), info.size);
  zip_fclose(file);
  if (letti != zip_int64_t(info.size)) return std::nullopt;
  return dati;
}

// "B12" -> column 1 (from 0), row 11 (from 0).
std::pair<int, int> posizione(const QString& riferimento) {
  int colonna = 0, i = 0;
  while (i < riferimento.size() && riferimento[i].isLetter())
    colonna = colonna * 26 + (riferimento[i++].unicode() - 'A' + 1);
  return {colonna - 1, riferimento.mid(i).toInt() - 1};
}

QStringList testiCondivisi(const QByteArray& xml) {
  QStringList testi;
  QXmlStreamReader r(xml);
  QString corrente;
  bool dentro = false;
  while (!r.atEnd()) {
    r.readNext();
    if (r.isStartElement() && r.name() == u"si") {
      dentro = true;
      corrente.clear();
    } else if (r.isStartElement() && r.name() == u"t" && dentro) {
      corrente += r.readElementText();
    } else if (r.isEndElement() && r.name() == u"si") {
      testi << corrente;
      dentro = false;
    }
  }
  return testi;
}

// The number format code of each cell style.
std::vector<QString> formatiStili(const QByteArray& xml) {
  QHash<int, QString> codici{{14, "mm-dd-yy"}, {22, "m/d/yy h:mm"}};
  std::vector<QString> stili;
  QXmlStreamReader r(xml);
  bool inCellXfs = false;
  while (!r.atEnd()) {
    r.readNext();
    if (!r.isStartElement() && !r.isEndElement()) continue;
    if (r.isStartElement() && r.name() == u"numFmt")
      codici.insert(r.attributes().value("numFmtId").toInt(),
                    r.attributes().value("formatCode").toString());
    if (r.name() == u"cellXfs") inCellXfs = r.isStartElement();
    if (inCellXfs && r.isStartElement() && r.name() == u"xf")
      stili.push_back(codici.value(r.attributes().value("numFmtId").toInt()));
  }
  return stili;
}

std::vector<std::vector<CellaXlsx>> celle(const QByteArray& xml, const QStringList& condivisi,
                                          const std::vector<QString>& stili) {
  std::vector<std::vector<CellaXlsx>> righe;
  QXmlStreamReader r(xml);
  while (!r.atEnd()) {
    r.readNext();
    if (!r.isStartElement() || r.name() != u"c") continue;
    const auto [colonna, riga] = posizione(r.attributes().value("r").toString());
    const QString tipo = r.attributes().value("t").toString();
    const int stile = r.attributes().value("s").toInt();
    QString valore;
    while (!(r.isEndElement() && r.name() == u"c") && !r.atEnd()) {
      r.readNext();
      if (r.isStartElement() && (r.name() == u"v" || r.name() == u"t"))
        valore += r.readElementText();
    }
    CellaXlsx cella;
    if (tipo == "s") {
      cella.tipo = CellaXlsx::Tipo::Testo;
      cella.testo = condivisi.value(valore.toInt());
    } else if (tipo == "inlineStr" || tipo == "str") {
      cella.tipo = CellaXlsx::Tipo::Testo;
      cella.testo = valore;
    } else if (tipo == "b") {
      cella.tipo = CellaXlsx::Tipo::Booleano;
      cella.numero = valore.toDouble();
    } else if (!valore.isEmpty()) {
      cella.tipo = CellaXlsx::Tipo::Numero;
      cella.numero = valore.toDouble();
      if (stile >= 0 && size_t(stile) < stili.size()) cella.formato = stili[stile];
    }
    if (righe.size() <= size_t(riga)) righe.resize(riga + 1);
    auto& celleRiga = righe[riga];
    if (celleRiga.size() <= size_t(colonna)) celleRiga.resize(colonna + 1);
    celleRiga[colonna] = cella;
  }
  size_t larghezza = 0;
  for (const auto& riga : righe) larghezza = std::max(larghezza, riga.size());
  for (auto& riga : righe) riga.resize(larghezza);
  return righe;
}

}  // namespace

std::optional<std::vector<FoglioXlsx>> LeggiXlsx(const QString& file) {
  int errore = 0;
  zip_t* archivio = zip_open(file.toLocal8Bit().constData(), ZIP_RDONLY, &errore);
  if (!archivio) return std::nullopt;
  std::optional<std::vector<FoglioXlsx>> fogli;
  auto libro = parte(archivio, "xl/workbook.xml");
  auto legami = parte(archivio, "xl/_rels/workbook.xml.rels");
  if (libro && legami) {
    QHash<QString, QString> destinazioni;
    QXmlStreamReader rl(*legami);
    while (!rl.atEnd())
      if (rl.readNext() == QXmlStreamReader::StartElement && rl.name() == u"Relationship")
        destinazioni.insert(rl.attributes().value("Id").toString(),
                            rl.attributes().value("Target").toString());
    const QStringList condivisi =
        testiCondivisi(parte(archivio, "xl/sharedStrings.xml").value_or(QByteArray()));
    const auto stili = formatiStili(parte(archivio, "xl/styles.xml").value_or(QByteArray()));
    fogli.emplace();
    QXmlStreamReader rb(*libro);
    while (!rb.atEnd()) {
      if (rb.readNext() != QXmlStreamReader::StartElement || rb.name() != u"sheet") continue;
      FoglioXlsx foglio;
      foglio.nome = rb.attributes().value("name").toString();
      const QString id =
          rb.attributes()
              .value("http://schemas.openxmlformats.org/officeDocument/2006/relationships", "id")
              .toString();
      auto dati = parte(archivio, "xl/" + destinazioni.value(id));
      if (!dati) {
        fogli.reset();
        break;
      }
      foglio.righe = celle(*dati, condivisi, stili);
      fogli->push_back(std::move(foglio));
    }
  }
  zip_close(archivio);
  return fogli;
}

}  // namespace listinova::testing
