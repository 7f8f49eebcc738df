#include "cartelle_di_prova.h"

#include <zip.h>

#include <QByteArray>
#include <list>

namespace listinova::testing {
namespace {

QByteArray xml(const QString& testo) { return testo.toHtmlEscaped().toUtf8(); }

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
  const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
  const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  QByteArray libro = "<workbook " + ns + " xmlns:r=\"" + rel + "\"><sheets>";
  QByteArray relazioni =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rIdS\" Type=\"" +
      rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
  QByteArray condivise = "<sst " + ns + ">";
  int stringhe = 0;
  std::vector<std::pair<QString, QByteArray>> parti;
  for (size_t f = 0; f < fogli.size(); ++f) {
    const QByteArray n = QByteArray::number(static_cast<int>(f + 1));
    libro +=
        "<sheet name=\"" + xml(fogli[f].first) + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    relazioni += "<Relationship Id=\"rId" + n + "\" Type=\"" + rel +
                 "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    QByteArray foglio = "<worksheet " + ns + "><sheetData>";
    for (size_t r = 0; r < fogli[f].second.size(); ++r) {
      const QByteArray riga = QByteArray::number(static_cast<int>(r + 1));
      foglio += "<row r=\"" + riga + "\">";
      for (size_t c = 0; c < fogli[f].second[r].size(); ++c) {  // up to column Z
        const CellaDiProva& cella = fogli[f].second[r][c];
        if (cella.testo.isEmpty()) continue;
        foglio += "<c r=\"" + QByteArray(1, static_cast<char>('A' + c)) + riga +
                  (cella.numero ? "\"><v>" + xml(cella.testo)
                                : "\" t=\"s\"><v>" + QByteArray::number(stringhe++)) +
                  "</v></c>";
        if (!cella.numero) condivise += "<si><t>" + xml(cella.testo) + "</t></si>";
      }
      foglio += "</row>";
    }
    parti.emplace_back("xl/worksheets/sheet" + n + ".xml", foglio + "</sheetData></worksheet>");
  }
  parti.emplace_back("xl/workbook.xml", libro + "</sheets></workbook>");
  parti.emplace_back("xl/_rels/workbook.xml.rels", relazioni + "</Relationships>");
  parti.emplace_back("xl/sharedStrings.xml", condivise + "</sst>");
  return ScriviZip(percorso, parti);
}

}  // namespace listinova::testing
