#include "cartelle_di_prova.h"

#include <zip.h>

#include <QByteArray>
#include <list>

namespace listinova::testing {
namespace {

QByteArray xml(const QString& testo) { return testo.toHtmlEscaped().toUtf8(); }

QByteArray colonna(int indice) {
  QByteArray lettere;
  for (++indice; indice > 0; indice = (indice - 1) / 26)
    lettere.prepend(static_cast<char>('A' + (indice - 1) % 26));
  return lettere;
}

}  // namespace

bool ScriviZip(const QString& percorso, const std::vector<std::pair<QString, QByteArray>>& parti) {
  int errore = 0;
  zip_t* zip = zip_open(percorso.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
  if (!zip) return false;
  std::list<QByteArray> tenuti;  // libzip reads the buffers when it closes
  for (const auto& [nome, contenuto] : parti) {
    const QByteArray& dati = tenuti.emplace_back(contenuto);
    zip_source_t* s = zip_source_buffer(zip, dati.constData(), dati.size(), 0);
    if (zip_file_add(zip, nome.toUtf8().constData(), s, ZIP_FL_OVERWRITE) < 0) return false;
  }
  return zip_close(zip) == 0;
}

bool ScriviXlsx(const QString& percorso,
                const std::vector<std::pair<QString, FoglioDiProva>>& fogli) {
  QByteArray libro =
      "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/"
      "spreadsheetml/2006/main\" xmlns:r=\"http://schemas.openxmlformats.org/"
      "officeDocument/2006/relationships\"><sheets>";
  QByteArray relazioni =
      "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas."
      "openxmlformats.org/package/2006/relationships\">";
  QByteArray condivise =
      "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/"
      "spreadsheetml/2006/main\">";
  int stringhe = 0;
  std::vector<std::pair<QString, QByteArray>> parti;
  for (size_t f = 0; f < fogli.size(); ++f) {
    const QByteArray n = QByteArray::number(static_cast<int>(f + 1));
    libro +=
        "<sheet name=\"" + xml(fogli[f].first) + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    relazioni += "<Relationship Id=\"rId" + n +
                 "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                 "relationships/worksheet\" Target=\"worksheets/sheet" +
                 n + ".xml\"/>";
    QByteArray foglio =
        "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats."
        "org/spreadsheetml/2006/main\"><sheetData>";
    const FoglioDiProva& righe = fogli[f].second;
    for (size_t r = 0; r < righe.size(); ++r) {
      const QByteArray numeroRiga = QByteArray::number(static_cast<int>(r + 1));
      foglio += "<row r=\"" + numeroRiga + "\">";
      for (size_t c = 0; c < righe[r].size(); ++c) {
        const CellaDiProva& cella = righe[r][c];
        if (cella.testo.isEmpty()) continue;
        const QByteArray rif = colonna(static_cast<int>(c)) + numeroRiga;
        if (cella.numero) {
          foglio += "<c r=\"" + rif + "\"><v>" + xml(cella.testo) + "</v></c>";
        } else {
          foglio +=
              "<c r=\"" + rif + "\" t=\"s\"><v>" + QByteArray::number(stringhe++) + "</v></c>";
          condivise += "<si><t>" + xml(cella.testo) + "</t></si>";
        }
      }
      foglio += "</row>";
    }
    foglio += "</sheetData></worksheet>";
    parti.emplace_back("xl/worksheets/sheet" + QString::number(f + 1) + ".xml", foglio);
  }
  libro += "</sheets></workbook>";
  relazioni +=
      "<Relationship Id=\"rIdS\" Type=\"http://schemas.openxmlformats.org/"
      "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
      "</Relationships>";
  condivise += "</sst>";
  parti.emplace_back("xl/workbook.xml", libro);
  parti.emplace_back("xl/_rels/workbook.xml.rels", relazioni);
  parti.emplace_back("xl/sharedStrings.xml", condivise);
  return ScriviZip(percorso, parti);
}

}  // namespace listinova::testing
