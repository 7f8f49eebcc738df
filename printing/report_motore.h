#pragma once

#include <utility>
#include <vector>

#include "printing/report_modello.h"

class QPagedPaintDevice;

namespace listinova {

// Rows [first, last) printed on each page. The totals go after the last row; when they do not
// fit under it they get a page of their own, whose range is empty.
std::vector<std::pair<int, int>> ImpaginaRighe(int righe, int righePerPagina, int righeTotali);

// A4 with the report's orientation and our margins; call before painting or previewing.
void PreparaPagina(QPagedPaintDevice& pagina, const ModelloReport& modello);

// Paints the whole report on `pagina` (a printer or a PDF writer), the column captions on
// every page, "Pag. n di m" at the foot. Returns the pages painted; 0 when the device would
// not paint.
int DisegnaReport(const ModelloReport& modello, QPagedPaintDevice& pagina);

}  // namespace listinova
