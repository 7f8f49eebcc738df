// The busy pointer for as long as the object lives, also when an error cuts the work short.
#pragma once

#include <QApplication>

namespace listinova {

class PuntatoreOccupato {
 public:
  PuntatoreOccupato() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~PuntatoreOccupato() { QApplication::restoreOverrideCursor(); }
  PuntatoreOccupato(const PuntatoreOccupato&) = delete;
  PuntatoreOccupato& operator=(const PuntatoreOccupato&) = delete;
};

}  // namespace listinova
