#include "catalogue/scheda_prodotto.h"

#include <QScopedValueRollback>
#include <cmath>

#include "catalogue/calcoli_prezzo.h"
#include "catalogue/modulo_ean.h"
#include "catalogue/ricerche_archivio.h"
#include "platform/db/database.h"
#include "platform/prompts.h"
#include "startup/error_log.h"
#include "startup/impostazioni.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {

namespace {

using platform::db::Database;
using platform::db::DatabaseError;
using platform::db::Recordset;
using platform::db::sqlText;

const QString kModulo = QStringLiteral("AggiungiMateriale");
const QString kOk = QStringLiteral("Ok");
const QString kNok = QStringLiteral("NOK");
const QString kQuantita = QStringLiteral("Quantità");
const QString kBarCodeDoppio =
    QStringLiteral("Attenzione codice a barre già presente - Verificare - Impossibile procedere");
// DAO's "No current record".
constexpr int kNessunRecord = 3021;

void registra(const char* procedura, const DatabaseError& e) {
  ScriviErrore(kModulo, QString::fromLatin1(procedura), e.description(), e.code());
}

bool opzioneAttiva(const QString& chiave) {
  return LeggiOpzioneConfig(Globali().PercorsoSetup, chiave);
}

bool repartoComeCodice() { return opzioneAttiva(QStringLiteral("SalvaRepartoComeCODICE")); }

bool zeroOVuoto(const QString& testo) {
  const std::optional<double> numero = LeggiNumero(testo);
  return !numero || *numero == 0;
}

}  // namespace

SchedaProdotto::SchedaProdotto(Database& db, platform::Prompts& prompts)
    : db_(db), prompts_(prompts) {}

void SchedaProdotto::imposta(Campo campo, const QString& testo) {
  QString& attuale = valori_[static_cast<int>(campo)];
  if (attuale == testo) return;
  attuale = testo;
  if (osservatore_) osservatore_(campo, testo);
  switch (campo) {
    case Campo::txtIVA:
      avvisoIvaDato_ = false;
      ivaCambiata();
      break;
    case Campo::txtPrezzoPubblico:
      if (!daRicarico_) mostraRicarico();
      break;
    case Campo::txtAcquisto:
    case Campo::txtRicarico:
      ricalcola();
      break;
    case Campo::CboGenere:
      repartoScelto();
      break;
    default:
      break;
  }
}

void SchedaProdotto::ricaricoDigitato(const QString& testo) {
  imposta(Campo::txtRicaricoCalcolato, testo);
  const std::optional<double> ricarico = LeggiNumero(testo);
  const std::optional<Money> conIva = LeggiImporto(valore(Campo::txtAcquistoConIVA));
  if (!ricarico || !conIva || conIva->units() == 0) return;
  QScopedValueRollback<bool> guardia(daRicarico_, true);
  imposta(Campo::txtPrezzoPubblico, TestoImporto(PiuPercentuale(*conIva, *ricarico)));
}

void SchedaProdotto::ivaCambiata() {
  const std::optional<double> iva = LeggiNumero(valore(Campo::txtIVA));
  const std::optional<Money> acquisto = LeggiImporto(valore(Campo::txtAcquisto));
  if (!iva || *iva == 0 || !acquisto) return;
  imposta(Campo::txtAcquistoConIVA, TestoImporto(PiuPercentuale(*acquisto, *iva)));
  mostraRicarico();
}

void SchedaProdotto::mostraRicarico() {
  const std::optional<Money> pubblico = LeggiImporto(valore(Campo::txtPrezzoPubblico));
  const std::optional<Money> conIva = LeggiImporto(valore(Campo::txtAcquistoConIVA));
  if (!pubblico || !conIva || conIva->units() == 0) return;
  imposta(Campo::txtRicaricoCalcolato, TestoNumero(RicaricoPercentuale(*pubblico, *conIva)));
}

void SchedaProdotto::ricalcola() {
  if (ricalcoloInCorso_) return;
  const std::optional<Money> acquisto = LeggiImporto(valore(Campo::txtAcquisto));
  if (!acquisto || acquisto->units() == 0) return;
  QScopedValueRollback<bool> inCorso(ricalcoloInCorso_, true);

  if (zeroOVuoto(valore(Campo::txtIVA))) {
    imposta(Campo::txtAcquistoConIVA, QString());
    imposta(Campo::txtRicaricoCalcolato, QString());
    if (!avvisoIvaDato_ && !ricaricaInCorso_) {
      avvisoIvaDato_ = true;
      avvisa(QStringLiteral("IMPOSTARE ALIQUOTA IVA - Verificare"));
    }
    return;
  }
  const double aliquota = std::round(*LeggiNumero(valore(Campo::txtIVA)));
  const Money conIva = PiuPercentuale(*acquisto, aliquota);
  imposta(Campo::txtAcquistoConIVA, TestoImporto(conIva));
  if (const std::optional<double> ricarico = LeggiNumero(valore(Campo::txtRicarico)))
    imposta(Campo::TxtCosto, TestoImporto(PiuPercentuale(conIva, *ricarico)));
  mostraRicarico();
}

void SchedaProdotto::repartoScelto() {
  const QString reparto = valore(Campo::CboGenere);
  if (reparto.isEmpty()) return;
  const QString nome = reparto.mid(reparto.indexOf(u'#') + 1);
  try {
    Recordset rs = db_.openRecordset("Select IVA from Reparti where Descrizione=" + sqlText(nome));
    if (rs.eof()) {
      imposta(Campo::txtIVA, QStringLiteral("0"));
    } else if (zeroOVuoto(valore(Campo::txtIVA)) && !rs.isNull("IVA")) {
      imposta(Campo::txtIVA, TestoNumero(rs.number("IVA")));
    }
  } catch (const DatabaseError& e) {
    registra("CboGenere_Click", e);
  }
}

void SchedaProdotto::pulisciDescrizione() {
  imposta(Campo::TxtDesc, PulisciDescrizione(valore(Campo::TxtDesc)));
}

// These characters upset the registers' displays and the label printer.
QString SchedaProdotto::PulisciDescrizione(const QString& descrizione) {
  QString pulita = descrizione;
  for (const QChar carattere : QStringLiteral("$%*#^°")) pulita.remove(carattere);
  pulita.replace(u',', u'.');
  for (const QChar carattere : QStringLiteral("/\\'")) pulita.replace(carattere, u' ');
  return pulita;
}

QStringList SchedaProdotto::elenco(const QString& istruzione, const QString& colonna,
                                   const char* procedura) {
  QStringList voci;
  try {
    for (Recordset rs = db_.openRecordset(istruzione); !rs.eof(); rs.moveNext())
      voci.append(rs.text(colonna));
  } catch (const DatabaseError& e) {
    registra(procedura, e);
  }
  return voci;
}

QStringList SchedaProdotto::CaricaGeneri() {
  reparti_.clear();
  try {
    for (Recordset rs = db_.openRecordset("Select * from Reparti order by Cod"); !rs.eof();
         rs.moveNext())
      reparti_.append(rs.text("Cod") + u'#' + rs.text("Descrizione"));
  } catch (const DatabaseError& e) {
    registra("CaricaGeneri", e);
  }
  return reparti_;
}

QStringList SchedaProdotto::CaricaFornitori() {
  QStringList fornitori = elenco("select distinct fornitore from magazzino where fornitore<>''",
                                 "fornitore", "CaricaFornitori");
  fornitori.sort(Qt::CaseInsensitive);
  return fornitori;
}

QStringList SchedaProdotto::CaricaTaglie() {
  return elenco("Select * from Taglie order By Pos", "NomeElemento", "CaricaTaglie");
}

QStringList SchedaProdotto::CaricaColori() {
  return elenco("Select * from Colori order By Pos", "NomeElemento", "CaricaColori");
}

QStringList SchedaProdotto::UnitaDiMisura(const QString& setup) {
  static const QStringList kUsuali = {"Bot", "Pz", "Kg", "gr", "Lt", "Fogli", "Spicchi"};
  const QString sezione = QStringLiteral("UnitaMisura");
  const auto chiave = [](int numero) { return QStringLiteral("Unita%1").arg(numero); };
  for (int i = 0; i < kUsuali.size(); ++i) {
    if (LeggiINI(setup, sezione, chiave(i + 1), QStringLiteral("?")) == u"?")
      ScriviINI(setup, sezione, chiave(i + 1), kUsuali.at(i));
  }
  QStringList unita;
  for (int numero = 1; numero <= 25; ++numero) {
    const QString valore = LeggiINI(setup, sezione, chiave(numero), QStringLiteral("?"));
    if (valore == u"?") break;
    unita.append(valore);
  }
  return unita;
}

void SchedaProdotto::svuota() {
  for (int campo = 0; campo < kNumeroCampi; ++campo) imposta(static_cast<Campo>(campo), QString());
  barCodeUlteriori_.clear();
  barCodeRegistrati_.clear();
  elencoAperto_ = false;
  avvisoIvaDato_ = false;
}

void SchedaProdotto::NuovoProdotto() {
  svuota();
  imposta(Campo::txtUm, QStringLiteral("Pz"));
}

QString SchedaProdotto::repartoPerGenere(const QString& genere) {
  if (reparti_.isEmpty()) CaricaGeneri();
  const bool comeCodice = repartoComeCodice();
  for (const QString& voce : reparti_) {
    const qsizetype diesis = voce.indexOf(u'#');
    const QString parte = comeCodice ? voce.left(diesis) : voce.mid(diesis + 1);
    if (parte.compare(genere, Qt::CaseInsensitive) == 0) return voce;
  }
  return QString();
}

bool SchedaProdotto::PreparaPerModifica(const QString& codMateriale) {
  try {
    Recordset rs =
        db_.openRecordset("Select * from Magazzino where CodMateriale=" + sqlText(codMateriale));
    if (rs.eof()) return false;
    svuota();
    imposta(Campo::TxtDesc, rs.text("Descrizione"));
    imposta(Campo::TxtQTA, TestoNumero(rs.number(kQuantita)));
    imposta(Campo::txtIVA, rs.isNull("CodPV") ? QStringLiteral("0") : rs.text("CodPV"));
    imposta(Campo::txtUm, rs.text("UnitaMisura"));
    imposta(Campo::TxtMin, TestoNumero(rs.number("Minimo")));
    imposta(Campo::TxtCosto, TestoImporto(rs.money("Costo")));
    imposta(Campo::txtPrezzoPubblico, TestoImporto(rs.money("Costo")));
    imposta(Campo::AppCodeModifica, rs.text("CodMateriale"));
    imposta(Campo::cbTaglie, rs.text("Taglia"));
    imposta(Campo::cbColore, rs.text("Colore"));
    imposta(Campo::cbMateriale, rs.text("TipoMateriale"));
    // TipoMateriale is saved from txtPesoConf: shown there too, an edit keeps it.
    imposta(Campo::txtPesoConf, rs.text("TipoMateriale"));
    imposta(Campo::LbLBarCode, rs.text("BarCode"));
    imposta(Campo::txtCodArtFornitore, rs.text("CodProdottoFornitore"));
    imposta(Campo::CboGenere, repartoPerGenere(rs.text("Genere")));
    imposta(Campo::CboFornitore, rs.text("Fornitore"));
    imposta(Campo::txtAcquisto, TestoImporto(rs.money("Costo2")));
    barCodeRegistrati_ = caricaBarCodeUlteriori(valore(Campo::AppCodeModifica));
    barCodeUlteriori_ = barCodeRegistrati_;
    return true;
  } catch (const DatabaseError& e) {
    registra("PreparaPerModifica", e);
    return false;
  }
}

bool SchedaProdotto::barCodeDiAltri(const QString& barCode, bool ancheUlteriori) {
  const QString codice = valore(Campo::AppCodeModifica);
  for (Recordset rs =
           db_.openRecordset("select * from Magazzino where barcode=" + sqlText(barCode));
       !rs.eof(); rs.moveNext()) {
    if (rs.text("CodMateriale") != codice) return true;
  }
  if (!ancheUlteriori) return false;
  for (Recordset rs =
           db_.openRecordset("select * from BarCodeUlteriori where BarCode=" + sqlText(barCode));
       !rs.eof(); rs.moveNext()) {
    if (rs.text("CodProd") != codice) return true;
  }
  return false;
}

QString SchedaProdotto::ControlloCampi() {
  try {
    for (Campo obbligatorio : {Campo::TxtDesc, Campo::TxtQTA, Campo::txtAcquisto, Campo::txtUm,
                               Campo::CboGenere, Campo::CboFornitore, Campo::TxtCosto}) {
      if (valore(obbligatorio).trimmed().isEmpty()) return kNok;
    }
    if (!LeggiNumero(valore(Campo::TxtQTA)) || !LeggiImporto(valore(Campo::txtAcquisto)) ||
        !LeggiImporto(valore(Campo::TxtCosto)))
      return kNok;

    if (!cifraDiControlloAccettata()) return kNok;
    const QString barCode = valore(Campo::LbLBarCode).trimmed();
    bool doppio = !barCode.isEmpty() && barCodeDiAltri(barCode, false);
    if (elencoAperto_ || barCodeInSospeso()) {
      for (const QString& ulteriore : barCodeUlteriori_)
        doppio = doppio || barCodeDiAltri(ulteriore, true);
    }
    if (doppio) {
      chiedi(kBarCodeDoppio, platform::Buttons::Ok, platform::Icon::Exclamation);
      return kNok;
    }

    if (opzioneAttiva(QStringLiteral("VerificaCodiceFornitore")) &&
        valore(Campo::txtCodArtFornitore).trimmed().isEmpty()) {
      const platform::Answer risposta =
          chiedi(QStringLiteral("Codice Articolo del fornitore non inserito - Proseguire cmq?"),
                 platform::Buttons::YesNo, platform::Icon::Question);
      if (risposta == platform::Answer::No) return kNok;
    }
    return kOk;
  } catch (const DatabaseError& e) {
    registra("ControlloCampi", e);
    return kNok;
  }
}

// A wrong last digit would go to the registers as typed, while the label scans as another
// code: the operator takes the right one or goes back to the box.
bool SchedaProdotto::cifraDiControlloAccettata() {
  const QString barCode = valore(Campo::LbLBarCode).trimmed();
  const QString corretto = CodiceEANCorretto(barCode);
  if (corretto.isEmpty() || corretto == barCode) return true;
  const platform::Answer risposta =
      chiedi(QStringLiteral("Cifra di controllo errata: il codice corretto è ") + corretto +
                 QStringLiteral("\nSalvare il prodotto con il codice corretto?"),
             platform::Buttons::YesNo, platform::Icon::Exclamation);
  if (risposta != platform::Answer::Yes) return false;
  imposta(Campo::LbLBarCode, corretto);
  return true;
}

QString SchedaProdotto::genereDaSalvare() const {
  const QString reparto = valore(Campo::CboGenere);
  const qsizetype diesis = reparto.indexOf(u'#');
  if (diesis < 0) return reparto;
  return repartoComeCodice() ? reparto.left(diesis) : reparto.mid(diesis + 1);
}

QString SchedaProdotto::SalvaDatiMateriale() {
  pulisciDescrizione();
  QString codice;
  try {
    const bool nuovo = !inModifica();
    codice = nuovo ? NuovoCodiceMateriale(db_) : valore(Campo::AppCodeModifica);
    // A new row goes into an empty selection: the whole archive need not be read for it.
    Recordset rs =
        nuovo ? db_.openRecordset("select * from Magazzino where CodMateriale=" + sqlText(codice))
              : db_.openRecordset("Select * from magazzino where codMateriale=" + codice);
    if (nuovo) {
      rs.addNew();
      rs.setText("CodMateriale", codice);
    } else if (rs.eof()) {
      ScriviErrore(kModulo, QStringLiteral("SalvaDatiMateriale"),
                   "Prodotto " + codice + " non presente in archivio", kNessunRecord);
      return QString();
    } else {
      rs.edit();
    }
    rs.setText("Descrizione", valore(Campo::TxtDesc).trimmed());
    rs.setValue(kQuantita, LeggiNumero(valore(Campo::TxtQTA)).value_or(0));
    rs.setValue("Minimo", 0);
    rs.setMoney("Costo", LeggiImporto(valore(Campo::TxtCosto)).value_or(Money()));
    rs.setMoney("Costo2", LeggiImporto(valore(Campo::txtAcquisto)).value_or(Money()));
    rs.setText("UnitaMisura", valore(Campo::txtUm));
    rs.setText("Genere", genereDaSalvare());
    rs.setText("Fornitore", valore(Campo::CboFornitore).trimmed().toUpper());
    rs.setText("Taglia", valore(Campo::cbTaglie));
    rs.setText("Colore", valore(Campo::cbColore));
    rs.setText("TipoMateriale", valore(Campo::txtPesoConf));
    rs.setText("BarCode", valore(Campo::LbLBarCode).trimmed());
    if (!valore(Campo::txtIVA).isEmpty()) rs.setText("CodPV", valore(Campo::txtIVA));
    rs.setText("CodProdottoFornitore", valore(Campo::txtCodArtFornitore).trimmed());
    rs.setFlag("Eliminato", false);
    rs.setFlag("Modificato", true);
    rs.setText("TipoVariazione", QStringLiteral("F"));
    rs.update();
    ultimoCodiceSalvato_ = codice;
  } catch (const DatabaseError& e) {
    registra("SalvaDatiMateriale", e);
    return QString();
  }
  if (elencoAperto_ || barCodeInSospeso()) RegistraBarCodeAlternativi(codice);
  return codice;
}

bool SchedaProdotto::RicaricaSalvato() {
  if (ultimoCodiceSalvato_.isEmpty()) return false;
  QScopedValueRollback<bool> inCorso(ricaricaInCorso_, true);
  return PreparaPerModifica(ultimoCodiceSalvato_);
}

QStringList SchedaProdotto::caricaBarCodeUlteriori(const QString& codice) {
  QStringList barCode;
  for (Recordset rs = db_.openRecordset("Select * from BarCodeUlteriori where CodProd=" + codice);
       !rs.eof(); rs.moveNext()) {
    if (!rs.text("BarCode").isEmpty()) barCode.append(rs.text("BarCode"));
  }
  return barCode;
}

platform::Answer SchedaProdotto::chiedi(const QString& testo, platform::Buttons pulsanti,
                                        platform::Icon icona) {
  return prompts_.ask({testo, Globali().TitoloProgramma, pulsanti, icona, std::nullopt});
}

void SchedaProdotto::avvisa(const QString& testo) {
  chiedi(testo, platform::Buttons::Ok, platform::Icon::Information);
}

bool SchedaProdotto::ApriBarCodeAlternativi() {
  if (valore(Campo::LbLBarCode).trimmed().isEmpty()) {
    avvisa(
        QStringLiteral("Immettere un Codice a Barre del prodotto nella relativa casella rossa "
                       "prima di proseguire"));
    return false;
  }
  if (!inModifica()) {
    avvisa(QStringLiteral("Confermare prima i dati inseriti"));
    return false;
  }
  const bool inSospeso = barCodeInSospeso();
  try {
    barCodeRegistrati_ = caricaBarCodeUlteriori(valore(Campo::AppCodeModifica));
  } catch (const DatabaseError& e) {
    registra("cmdBCAlternativi_Click", e);
    return false;
  }
  // Codes typed before the panel was last closed are shown again, still to be confirmed.
  if (!inSospeso) barCodeUlteriori_ = barCodeRegistrati_;
  elencoAperto_ = true;
  return true;
}

void SchedaProdotto::setBarCodeUlteriori(const QStringList& barCode) {
  barCodeUlteriori_.clear();
  for (const QString& voce : barCode) {
    const QString pulito = voce.trimmed();
    if (!pulito.isEmpty() && !barCodeUlteriori_.contains(pulito)) barCodeUlteriori_.append(pulito);
  }
}

void SchedaProdotto::ChiudiBarCodeAlternativi() {
  if (barCodeInSospeso())
    avvisa(
        QStringLiteral("Premere il Conferma principale per registrare i codici a barre, "
                       "Annulla per scartarli"));
  elencoAperto_ = false;
}

void SchedaProdotto::RegistraBarCodeAlternativi(const QString& codice) {
  if (codice.isEmpty()) return;
  try {
    Database::Transaction transazione(db_);
    db_.execute("Delete * from BarCodeUlteriori where CodProd=" + codice);
    Recordset rs = db_.openRecordset("Select * from BarCodeUlteriori where CodProd=" + codice);
    for (const QString& barCode : barCodeUlteriori_) {
      rs.addNew();
      rs.setText("CodProd", codice);
      rs.setText("BarCode", barCode);
      rs.setFlag("Inviato", false);
      rs.setText("CodPerTabProd", codice);
      rs.update();
    }
    transazione.commit();
    barCodeRegistrati_ = barCodeUlteriori_;
  } catch (const DatabaseError& e) {
    registra("RegistraBarCodeAlternativi", e);
  }
}

}  // namespace listinova
