#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

#include "catalogue/elenco_magazzino.h"
#include "catalogue/marche_prodotti.h"
#include "touch/cls_resize.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QScrollArea;
class QPushButton;
class QTabWidget;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace listinova {
namespace platform {
class Notice;
class SerialPort;
}  // namespace platform
class ModelloMagazzino;

// The sales view's lines (barcode, description, quantity) and the period's total quantity.
struct VenditeDaMostrare {
  std::vector<QStringList> righe;
  QString totale;
};

// The product list: search, the grid of products, the marks and the commands on them.
class Magazzino : public QDialog {
  Q_OBJECT

 public:
  // `portaScanner` gives the product editor its bar code reader; it may return null.
  Magazzino(platform::db::Database& db, platform::Prompts& prompts, platform::Notice& notice,
            platform::Clock& clock, std::function<platform::SerialPort*()> portaScanner,
            QWidget* parent = nullptr);

  // [RegCassa] Torvane as read when the window was last activated.
  bool torvane() const { return torvane_; }
  bool soloModificati() const;
  bool perFrontalini() const;

  // What "Invia PLU  >>>" and "Reparti" run; a button without one stays disabled.
  void setInviaPLU(std::function<void(bool soloModificati)> invia);
  void setApriReparti(std::function<void()> apri);
  // What "&Importa da FileDati" runs; true when the archive may have changed (the list then
  // reloads).
  void setImporta(std::function<bool()> importa);
  // The exchange-folder poll of `tmrImporta`, every `intervalloMs`; the timer is off while it
  // runs. It returns true when the archive changed.
  void setImportaInterscambio(std::function<bool()> importa, int intervalloMs);
  // "Leggi PLU  <<<", "&Genera File Dati" and the sales view's "Trova".
  void setRiceviPLU(std::function<void()> ricevi);
  void setGeneraFile(std::function<void()> genera);
  void setTrovaVendite(std::function<VenditeDaMostrare(const QDate& dal, const QDate& al)> trova);
  // What "PROMOZIONI" runs; without one the button stays disabled.
  void setPromozioni(std::function<void()> apri);
  // The whole-archive commands; a command without its hook stays disabled. `applicaQuantita`
  // gets the text of the default quantity and answers true when the list must reload;
  // `cambiaDati` answers true when another archive was opened.
  struct Manutenzione {
    std::function<bool(const QString& quantita)> applicaQuantita;
    std::function<void()> salvaDati;
    std::function<bool()> cambiaDati;
  };
  void setManutenzione(Manutenzione manutenzione);

  // The selected row as the grid shows it; empty texts when nothing is selected.
  struct ProdottoSelezionato {
    QString codice;       // "Cod"
    QString descrizione;  // "Descrizione"
    QString prezzo;       // "Prz. V"
  };
  ProdottoSelezionato prodottoSelezionato() const;
  // A panel of another subsystem, shown above the grid (hidden until it shows itself).
  void aggiungiPannello(QWidget* pannello);
  // The grid and its search; off while a panel works on the whole archive.
  void abilitaElenco(bool abilitato);
  void tornaAlBarCode();
  // The start-of-day banner, until the operator sends or an empty text clears it; a job's
  // status stands over it while the job runs.
  void mostraAvviso(const QString& testo, int punti);
  // What "Stampa Front." runs (the shelf labels); without one the button stays disabled.
  void setStampaFrontalino(std::function<void()> stampa);
  // What "Stampa Esporta" (the stock of the current search) and "Stampa" (the sales of the
  // period of the date pickers) run; a button without one stays disabled.
  void setStampaMagazzino(std::function<void(const QString& sqlRicerca, bool soloQtaZero)> stampa);
  void setStampaVendite(std::function<void(const QDate& dal, const QDate& al)> stampa);

  // The register jobs' progress: the status field (an empty text ends the job's text, and
  // the banner shows again when there is one) and the record counters.
  void mostraStato(const QString& testo);
  void mostraRecordAttuale(const QString& numero);
  void mostraTotaleRecord(int totale);
  // The progress bar of a reading; a maximum of 0 hides it.
  void mostraAvanzamento(int valore, int massimo);

  // The department and supplier lists, filled again from the store (after the start-up sync).
  void CaricaElenchi();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* costruisciRicerca();
  QWidget* costruisciLettura();
  QWidget* costruisciContatori();
  QWidget* costruisciComandi();
  QWidget* costruisciVendite();
  void cmdTrova_Click();
  QGroupBox* riquadro(const QString& titolo, const QList<QWidget*>& contenuto);
  QPushButton* pulsante(const char* nome, const QString& testo);
  QPushButton* prossimaVersione(const char* nome, const QString& testo);
  void collega();

  // Runs one command: logs what fails under `procedura`, then gives the focus back to the
  // bar code box so that the scanner can be used at any moment.
  void comando(const char* procedura, const std::function<void()>& azione);
  void aggiornaTab();

  void Form_Activate();
  void CaricaCboGeneri();
  void CaricaFornitori();
  void CaricaMagazzino(const QString& sql, bool togliMarcheEtichetta);
  void CmdCerca_Click();
  void IntercettaBarCode(const QString& codice);
  void Elimina_click();
  void Modifica_Click();
  void Aggiungi_Click();
  void ckModificati_Click(bool spuntato);
  void cmdTutti_Click();
  void cmdAdeguaCodici_Click();
  void ListMagazzino_ItemClick(const QModelIndex& indice);
  // The code and the description of the selected product; empty when none is.
  QString codiceSelezionato() const;
  QString descrizioneSelezionata() const;
  // Opens the product editor modally: empty for `codMateriale` empty, else on that product.
  // True when the editor saved.
  bool apriEditor(const QString& codMateriale, bool senzaAggiungi);
  CriteriRicerca criteri() const;

  platform::db::Database& db_;
  platform::Prompts& prompts_;
  platform::Notice& notice_;
  platform::Clock& clock_;
  std::function<platform::SerialPort*()> portaScanner_;
  MarcheProdotti marche_;
  bool torvane_ = false;
  QTimer tmrCaricaPLU_;
  QTimer tmrImporta_;
  ClsResize resize_;

  QLineEdit* Descrizione_ = nullptr;
  QButtonGroup* optCerca_ = nullptr;
  QComboBox* Genere_ = nullptr;
  QComboBox* Fornitore_ = nullptr;
  QCheckBox* ckModificati_ = nullptr;
  QCheckBox* ckPerFrontalini_ = nullptr;
  QLineEdit* txtRicBarCode_ = nullptr;
  QTreeView* ListMagazzino_ = nullptr;
  ModelloMagazzino* modello_ = nullptr;
  QLabel* lblTotVociMaga_ = nullptr;
  QLabel* lblTab_ = nullptr;
  QLabel* lblRecAct_ = nullptr;
  QLabel* lblRecTot_ = nullptr;
  QPushButton* cmdInviaPLU_ = nullptr;
  QPushButton* Generi_ = nullptr;
  QPushButton* cmdImporta_ = nullptr;
  QPushButton* cmdStampaFrontalino_ = nullptr;
  QLabel* lblTotArt_ = nullptr;
  QLabel* TotRicorrenze_ = nullptr;
  QLabel* totValore_ = nullptr;
  QDateEdit* dal_ = nullptr;
  QDateEdit* al_ = nullptr;
  QPushButton* CmdCerca_ = nullptr;
  QPushButton* cmdTutti_ = nullptr;
  QPushButton* Aggiungi_ = nullptr;
  QPushButton* Modifica_ = nullptr;
  QPushButton* Elimina_ = nullptr;
  QPushButton* cmdSegnaModificati_ = nullptr;
  QPushButton* cmdAdeguaCodici_ = nullptr;
  QPushButton* CmdUscita_ = nullptr;
  QPushButton* cmdRiceviPLU_ = nullptr;
  QPushButton* cmdGeneraFile_ = nullptr;
  QProgressBar* ProgressBar1_ = nullptr;
  QTabWidget* schede_ = nullptr;
  QDateEdit* dtGiornoRif_ = nullptr;
  QDateEdit* dtDataAl_ = nullptr;
  QPushButton* cmdTrova_ = nullptr;
  QTreeWidget* lstPLU_ = nullptr;
  QLabel* lblTotMovimentati_ = nullptr;
  QLabel* lblTotQuantita_ = nullptr;
  std::function<VenditeDaMostrare(const QDate&, const QDate&)> trovaVendite_;
  QPushButton* cmdPromozioni_ = nullptr;
  QLineEdit* txtQtaPredef_ = nullptr;
  QPushButton* cmdAggiornaQta_ = nullptr;
  QPushButton* cmdSalva_ = nullptr;
  QPushButton* cmdCambiaDb_ = nullptr;
  QVBoxLayout* pannelli_ = nullptr;
  QScrollArea* scorriPannelli_ = nullptr;
  QPushButton* cmdStampaMagazzino_ = nullptr;
  QPushButton* cmdStampaVPLU_ = nullptr;
  // The status field has two writers, each clearing only its own text: the start-of-day
  // banner and the running job.
  QString avviso_;
  int puntiAvviso_ = 0;
  QString stato_;
};

}  // namespace listinova
