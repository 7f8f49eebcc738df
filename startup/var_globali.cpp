#include "startup/var_globali.h"

#include <QApplication>
#include <QPalette>

#include "platform/db/database.h"

namespace listinova {

VarGlobali& Globali() {
  static VarGlobali globali;
  return globali;
}

QColor ColoreDaValore(quint32 valore) {
  if (valore & 0x80000000u) return QApplication::palette().color(QPalette::Button);
  return QColor(valore & 0xFF, (valore >> 8) & 0xFF, (valore >> 16) & 0xFF);
}

}  // namespace listinova
