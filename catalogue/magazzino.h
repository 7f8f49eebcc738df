#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

#include "catalogue/elenco_magazzino.h"
#include "catalogue/marche_prodotti.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace listinova {
namespace platform {
class Notice;
class SerialPort;
}  // namespace platform

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

  // What "Invia PLU  >>>" and "Reparti" run; a button without one stays disabled.
  void setInviaPLU(std::function<void(bool soloModificati)> invia);
  void setApriReparti(std::function<void()> apri);
  // What "&Importa da FileDati" runs; true when the archive may have changed (the list then
  // reloads).
  void setImporta(std::function<bool()> importa);
  // The exchange-folder poll of `tmrImporta`, every `intervalloMs`; the timer is off while it
  // runs. It returns true when the archive changed.
  void setImportaInterscambio(std::function<bool()> importa, int intervalloMs);

  // The register jobs' progress: the status field (an empty text hides it) and the record
  // counters.
  void mostraStato(const QString& testo);
  void mostraRecordAttuale(const QString& numero);
  void mostraTotaleRecord(int totale);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* costruisciRicerca();
  QWidget* costruisciLettura();
  QWidget* costruisciContatori();
  QWidget* costruisciComandi();
  QGroupBox* riquadro(const QString& titolo, const QList<QWidget*>& contenuto);
  QPushButton* pulsante(const char* nome, const QString& testo);
  QPushButton* prossimaVersione(const char* nome, const QString& testo);
  void collega();

  // Runs one command: logs what fails under `procedura`, then gives the focus back to the
  // bar code box so that the scanner can be used at any moment.
  void comando(const char* procedura, const std::function<void()>& azione);
  void tornaAlBarCode();

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
  void ListMagazzino_ItemClick(QTreeWidgetItem* riga);
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

  QLineEdit* Descrizione_ = nullptr;
  QButtonGroup* optCerca_ = nullptr;
  QComboBox* Genere_ = nullptr;
  QComboBox* Fornitore_ = nullptr;
  QCheckBox* ckModificati_ = nullptr;
  QCheckBox* ckPerFrontalini_ = nullptr;
  QLineEdit* txtRicBarCode_ = nullptr;
  QTreeWidget* ListMagazzino_ = nullptr;
  QLabel* lblTotVociMaga_ = nullptr;
  QLabel* lblTab_ = nullptr;
  QLabel* lblRecAct_ = nullptr;
  QLabel* lblRecTot_ = nullptr;
  QPushButton* cmdInviaPLU_ = nullptr;
  QPushButton* Generi_ = nullptr;
  QPushButton* cmdImporta_ = nullptr;
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
};

}  // namespace listinova
