#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "printing/superficie_etichette.h"

namespace listinova::testing {

// Records what the label engine draws, page by page.
class SuperficieDiProva : public SuperficieEtichette {
 public:
  struct Testo {
    int pagina;
    QRectF area;
    QString testo;
  };
  struct Codice {
    QRectF area;
    QString cifre;
  };

  void testo(const QRectF& area, const QString& t, const CarattereEtichetta&) override {
    testi.push_back({pagina, area, t});
  }
  void codiceEAN(const QRectF& area, const QString& cifre) override {
    codici.push_back({area, cifre});
  }
  void immagine(const QRectF& area, const QImage&) override { immagini.push_back(area); }
  void nuovaPagina() override { ++pagina; }
  bool fine() override { return true; }

  QStringList testiDi(int p) const {
    QStringList l;
    for (const auto& t : testi)
      if (t.pagina == p) l << t.testo;
    return l;
  }

  int pagina = 1;
  std::vector<Testo> testi;
  std::vector<Codice> codici;
  std::vector<QRectF> immagini;
};

// A paper of a given size whose documents are recorded and stay readable after the engine
// let go of them.
class DispositivoDiProva : public DispositivoEtichette {
 public:
  explicit DispositivoDiProva(QSizeF twips = {21 * 567.0, 29.7 * 567.0}) : pagina(twips) {}
  QSizeF paginaTwips() const override { return pagina; }
  QRectF areaStampabileTwips() const override {
    return stampabile.isNull() ? QRectF(QPointF(0, 0), pagina) : stampabile;
  }
  std::unique_ptr<SuperficieEtichette> apri() override {
    struct Rinvio : SuperficieEtichette {
      explicit Rinvio(SuperficieDiProva& s) : s(s) {}
      void testo(const QRectF& a, const QString& t, const CarattereEtichetta& c) override {
        s.testo(a, t, c);
      }
      void codiceEAN(const QRectF& a, const QString& c) override { s.codiceEAN(a, c); }
      void immagine(const QRectF& a, const QImage& i) override { s.immagine(a, i); }
      void nuovaPagina() override { s.nuovaPagina(); }
      bool fine() override { return s.fine(); }
      SuperficieDiProva& s;
    };
    ultima = documenti.emplace_back(std::make_unique<SuperficieDiProva>()).get();
    return std::make_unique<Rinvio>(*ultima);
  }

  QSizeF pagina;
  QRectF stampabile;  // null: the whole page
  std::vector<std::unique_ptr<SuperficieDiProva>> documenti;
  SuperficieDiProva* ultima = nullptr;
};

}  // namespace listinova::testing
