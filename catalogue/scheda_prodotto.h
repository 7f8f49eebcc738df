#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace listinova {
namespace platform {
class Prompts;
enum class Answer;
enum class Buttons;
enum class Icon;
namespace db {
class Database;
}
}  // namespace platform

// The product editor's boxes, named as the window names them.
enum class Campo {
  AppCodeModifica,  // code of the product being edited; empty for a new one
  TxtDesc,
  TxtQTA,
  TxtMin,
  TxtCosto,  // selling price, VAT included
  txtUm,
  CboGenere,  // "code#name"
  CboFornitore,
  cbTaglie,
  cbColore,
  txtPesoConf,
  cbMateriale,
  LbLBarCode,
  txtAcquisto,  // purchase cost, VAT excluded
  txtIVA,
  txtCodArtFornitore,
  txtAcquistoConIVA,
  txtRicarico,  // the markup wanted
  txtPrezzoPubblico,
  txtRicaricoCalcolato,
};
inline constexpr int kNumeroCampi = static_cast<int>(Campo::txtRicaricoCalcolato) + 1;

// The product editor without its widgets: the boxes' texts, the price derivations that
// follow a change, the checks, the save and the additional barcodes.
class SchedaProdotto {
 public:
  // Told of every box the scheda changes, so the window can show the new text.
  using Osservatore = std::function<void(Campo, const QString&)>;

  SchedaProdotto(platform::db::Database& db, platform::Prompts& prompts);

  void setOsservatore(Osservatore osservatore) { osservatore_ = std::move(osservatore); }
  const QString& valore(Campo campo) const { return valori_[static_cast<int>(campo)]; }
  // A box changed, by the operator or the program: runs what hangs on it.
  void imposta(Campo campo, const QString& testo);
  // The operator typed into the markup shown: the public price follows it.
  void ricaricoDigitato(const QString& testo);
  // What TxtDesc keeps when it loses focus.
  void pulisciDescrizione();
  static QString PulisciDescrizione(const QString& descrizione);

  // The combos' items; a failure is logged and gives an empty list.
  QStringList CaricaGeneri();  // "code#name"
  QStringList CaricaFornitori();
  QStringList CaricaTaglie();
  QStringList CaricaColori();
  // [UnitaMisura] Unita1.. of `setup`, up to the first absent key; the seven usual units are
  // written for whichever of Unita1..Unita7 is absent.
  static QStringList UnitaDiMisura(const QString& setup);

  void NuovoProdotto();
  // False when there is no such product.
  bool PreparaPerModifica(const QString& codMateriale);
  bool inModifica() const { return !valore(Campo::AppCodeModifica).isEmpty(); }

  // "Ok", or "NOK" at the first failed check (after telling the operator where one applies).
  QString ControlloCampi();
  // Writes the product (and its additional barcodes when their panel is open or codes typed
  // there are pending); gives its code, or an empty text when the store refused.
  QString SalvaDatiMateriale();
  // After a save: the boxes show the product as stored, the derived ones worked out again
  // from it, without the warnings that typing gives.
  bool RicaricaSalvato();
  const QString& ultimoCodiceSalvato() const { return ultimoCodiceSalvato_; }

  // Additional barcodes: the panel opens only for a saved product with a main barcode.
  bool ApriBarCodeAlternativi();
  bool elencoAperto() const { return elencoAperto_; }
  const QStringList& barCodeUlteriori() const { return barCodeUlteriori_; }
  // The panel's boxes; blanks are dropped.
  void setBarCodeUlteriori(const QStringList& barCode);
  // Entries not yet confirmed stay pending until the main confirmation registers them (the
  // operator is told) or the editor is cancelled.
  void ChiudiBarCodeAlternativi();
  bool barCodeInSospeso() const { return barCodeUlteriori_ != barCodeRegistrati_; }
  // "Annulla": the pending entries are dropped.
  void ScartaBarCodeInSospeso() { barCodeUlteriori_ = barCodeRegistrati_; }
  void RegistraBarCodeAlternativi(const QString& codice);

 private:
  void svuota();
  void ivaCambiata();
  void mostraRicarico();
  void ricalcola();
  void repartoScelto();
  QString repartoPerGenere(const QString& genere);
  QString genereDaSalvare() const;
  bool cifraDiControlloAccettata();
  bool barCodeDiAltri(const QString& barCode, bool ancheUlteriori);
  QStringList caricaBarCodeUlteriori(const QString& codice);
  QStringList elenco(const QString& istruzione, const QString& colonna, const char* procedura);
  platform::Answer chiedi(const QString& testo, platform::Buttons pulsanti, platform::Icon icona);
  void avvisa(const QString& testo);

  platform::db::Database& db_;
  platform::Prompts& prompts_;
  Osservatore osservatore_;
  std::array<QString, kNumeroCampi> valori_;
  QStringList reparti_;
  QString ultimoCodiceSalvato_;

  QStringList barCodeUlteriori_;
  QStringList barCodeRegistrati_;  // as the store holds them
  bool elencoAperto_ = false;

  // The public price being written from the markup: the markup must not follow it back.
  bool daRicarico_ = false;
  bool ricalcoloInCorso_ = false;
  // The missing-VAT warning is given once, not at every digit of the purchase cost.
  bool avvisoIvaDato_ = false;
  // Reloading what was just saved says nothing the operator has not already been told.
  bool ricaricaInCorso_ = false;
};

}  // namespace listinova
