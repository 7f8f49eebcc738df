#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "import/posizioni_import.h"
#include "import/riepilogo_import.h"
#include "import/testo_delimitato.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace listinova {
namespace platform {
class Clock;
class Prompts;
class WorkbookReader;
namespace db {
class Database;
}
}  // namespace platform

// What the import window needs from outside: the store, the operator, the file dialog and
// where skipped rows are written.
struct AmbienteImporta {
  platform::db::Database& db;
  platform::Prompts& prompts;
  platform::Clock& clock;
  // The open-file dialog: title and filter in, the chosen path out ("" when cancelled).
  std::function<QString(const QString& titolo, const QString& filtro)> sceltaFile;
  QString cartellaLog;  // "Dati" of the shop folder
  std::function<std::unique_ptr<platform::WorkbookReader>(const QString&)> apriCartella;
};

// The import window: positions, separator, supplier and the kind of file; "Procedi" runs the
// route they choose, "Anteprima" shows the first rows of a file split as they would be.
class FrmImporta : public QDialog {
  Q_OBJECT

 public:
  explicit FrmImporta(AmbienteImporta ambiente, QWidget* parent = nullptr);

  PosizioniImport posizioni() const;
  void impostaPosizioni(const PosizioniImport& p);
  // The separator option chosen: 0 "/", 1 ";", 2 ",", 3 ":", 4 "Pelidor 35", 5 "!".
  void scegliSeparatore(int indice);
  OpzioniTesto opzioniTesto() const;

  void cmdProcedi_Click();
  void cmdAnteprima_Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* costruisciPosizioni();
  QWidget* costruisciSeparatori();
  QWidget* costruisciFornitore();
  void CaricaFornitori();
  void avvisa(const QString& testo);
  SchermoImport schermo();
  // Runs a route; true when it ended (the window then closes).
  bool esegui(const QString& percorso, bool foglio, const QString& fornitore);
  void mostraAnteprima(const std::vector<QStringList>& righe);

  AmbienteImporta ambiente_;
  QChar separatore_ = ';';
  bool separatoreScelto_ = false;

  QComboBox* cbPDes_ = nullptr;
  QComboBox* cbPQta_ = nullptr;
  QComboBox* cbPBC_ = nullptr;
  QComboBox* cbPRep_ = nullptr;
  QComboBox* cbPPV_ = nullptr;
  QComboBox* cbPACQ_ = nullptr;
  QComboBox* cbIVA_ = nullptr;
  QComboBox* cbCFOR_ = nullptr;
  QComboBox* cbFOR_ = nullptr;
  QButtonGroup* optSeparatore_ = nullptr;
  QComboBox* cbFornitore_ = nullptr;
  QCheckBox* ckFileExcel_ = nullptr;
  QLineEdit* txtPercorso_ = nullptr;
  QLabel* lblTab_ = nullptr;
  QProgressBar* avanzamento_ = nullptr;
  QTableWidget* anteprima_ = nullptr;
};

// "&Importa da FileDati": the password check, then the import window. True when the window
// was opened (the product list then reloads).
bool ApriImportazione(const AmbienteImporta& ambiente, const std::function<bool()>& password,
                      QWidget* parent);

}  // namespace listinova
