#include "catalogue/modello_magazzino.h"

#include <QBrush>

namespace listinova {
namespace {

bool colonnaNumerica(int colonna) {
  switch (colonna) {
    case 3:
    case 4:
    case 6:
    case 13:
    case 15:
    case 16:
    case 17:
      return true;
    default:
      return false;
  }
}

}  // namespace

ModelloMagazzino::ModelloMagazzino(QObject* parent)
    : QAbstractTableModel(parent), intestazioni_(IntestazioniMagazzino()) {}

void ModelloMagazzino::imposta(std::vector<RigaMagazzino> righe) {
  beginResetModel();
  righe_ = std::move(righe);
  endResetModel();
}

QString ModelloMagazzino::cella(int riga, int colonna) const {
  if (riga < 0 || riga >= rowCount() || colonna < 0 || colonna >= kColonneMagazzino) return {};
  return righe_[riga].celle[colonna];
}

int ModelloMagazzino::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(righe_.size());
}

int ModelloMagazzino::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColonneMagazzino;
}

QVariant ModelloMagazzino::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const RigaMagazzino& riga = righe_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
      return riga.celle[index.column()];
    case Qt::TextAlignmentRole:
      if (colonnaNumerica(index.column()))
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
      return {};
    case Qt::ForegroundRole:
      return riga.colore.isValid() ? QVariant(QBrush(riga.colore)) : QVariant();
    default:
      return {};
  }
}

QVariant ModelloMagazzino::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= intestazioni_.size()) return {};
  if (role == Qt::DisplayRole) return intestazioni_[section];
  if (role == Qt::TextAlignmentRole && colonnaNumerica(section))
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  return {};
}

}  // namespace listinova
