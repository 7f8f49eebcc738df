#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "catalogue/elenco_magazzino.h"

namespace listinova {

// The rows of the product list's grid, handed to the view as they are: the grid paints only
// what is on screen, with no widget item per cell.
class ModelloMagazzino : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ModelloMagazzino(QObject* parent = nullptr);

  void imposta(std::vector<RigaMagazzino> righe);
  // The text of a cell, empty outside the grid.
  QString cella(int riga, int colonna) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<RigaMagazzino> righe_;
  QStringList intestazioni_;
};

}  // namespace listinova
