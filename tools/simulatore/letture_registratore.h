#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>
#include <vector>

#include "tools/simulatore/tabelle_registratore.h"

namespace listinova::simulatore {

// The register's side of a reading: what it sold and the questions about it. "h/barcode/"
// asks one PLU, "J//" and "K//" walk its sales of numbered PLUs and of PLUs known by barcode
// alone ("n//" walks them all on a Torvane register), "p/n/" dumps the n-th PLU of its table.
class LettureRegistratore {
 public:
  // The register's "Il PLU non esiste" answer that closes the J and n lists.
  static constexpr char kFineLista[] = "07/00/02/82/";
  // The K list closes with 29 in its fourth and fifth characters.
  static constexpr char kFineListaK[] = "00/29/00/";

  // Sold quantity of a barcode as the register knows it, in thousandths; 0 forgets it.
  void impostaVenduto(const QString& barCode, qint64 millesimi);
  // The quantity field as this text, whatever it says ("1e9", "", a 20-digit number).
  void impostaVendutoTesto(const QString& barCode, const QString& testo);
  const QMap<QString, qint64>& venduti() const { return venduti_; }
  void impostaTorvane(bool torvane) { torvane_ = torvane; }

  // The answer body for a reading command, nothing for any other command.
  std::optional<QByteArray> risposta(const QString& comando, const TabelleRegistratore& tabelle);

  // "BARCODE=MILLESIMI" lines, or "BARCODE=TESTO" sent as it is; false with an Italian
  // `errore` on a bad line.
  bool caricaVenduti(const QString& percorso, QString& errore);
  // The PLU records of a command file ("P/", "A/") as the register's table.
  static bool caricaTabella(const QString& percorso, TabelleRegistratore& tabelle, QString& errore);

 private:
  QByteArray rigaLista(const PluRicevuto& plu) const;
  std::optional<QByteArray> prossimo(const QString& elenco, const TabelleRegistratore& tabelle,
                                     QByteArray fine);

  QString venduto(const QString& barCode) const;

  QMap<QString, qint64> venduti_;
  QMap<QString, QString> testi_;
  bool torvane_ = false;
  // Each list walk takes the table as it was at its first line, and where it has got to.
  struct Elenco {
    std::vector<PluRicevuto> plu;
    std::size_t prossimo = 0;
  };
  QMap<QString, Elenco> elenchi_;
};

}  // namespace listinova::simulatore
