#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "register/aggiorna_storico_plu.h"
#include "register/casse_configurate.h"

namespace listinova {
namespace platform {
class Clock;
class Prompts;
namespace db {
class Database;
}
}  // namespace platform
class DriverComandi;
class TrasportoRegistratore;

// What a reading shows on the product list; every hook may be empty.
struct SchermoLettura {
  std::function<void(const QString&)> lblTab;  // an empty text hides the field
  std::function<void(int valore, int massimo)> avanzamento;
  std::function<void(bool)> occupato;  // the busy pointer
};

struct LetturaCassa {
  int numero = 0;
  bool completa = false;  // read to its end
  bool saltata = false;   // already read today, and the operator chose not to read it again
  int righe = 0;          // answers written to the receive file
  QString file;
  EsitoPrenotazione prenotazione;
};

struct EsitoLettura {
  bool avviata = false;  // false: refused, no password, or only a request to cancel
  bool annullata = false;
  int casse = 0;  // registers to read
  std::vector<LetturaCassa> lette;
  // Every register was read to its end and what it sold is in the archive.
  bool tutteComplete() const;
};

struct StrumentiLettura {
  platform::db::Database& db;
  TrasportoRegistratore& trasporto;
  DriverComandi& driver;  // its output folder holds the receive files
  platform::Prompts& prompts;
  platform::Clock& clock;
  // The operator's access code; true when it was accepted.
  std::function<bool()> password;
  SchermoLettura schermo;
};

// "Leggi PLU  <<<" and "&Genera File Dati": the registers are asked what they sold, or what
// PLU table they hold; their answers are appended to "PLUOstrel" + n + ".txt" in the output
// folder, and the sales read are booked into the archive.
class RicezionePlu {
 public:
  // Longest wait for one answer: a register answers within these or is counted as silent.
  static constexpr int kAttesaProdottoMs = 200;
  static constexpr int kAttesaListaMs = 500;
  static constexpr int kAttesaTabellaMs = 100;
  static constexpr int kAttesaProntaMs = 3000;
  static constexpr int kAttesaPrimaDelFileMs = 500;
  // Questions in a row without a usable answer before a register is given up.
  static constexpr int kMancateMassime = 5;
  // More lines than a register can hold PLUs: a list that never ends is cut here.
  static constexpr int kMassimoRigheLista = 70000;

  explicit RicezionePlu(StrumentiLettura strumenti);

  // `metodo` as [Acquisizione] Metodo gives it; `torvane` the register family.
  EsitoLettura cmdRiceviPLU_Click(MetodoLettura metodo, bool torvane);
  EsitoLettura cmdGeneraFile_Click();

  static bool inCorso();
  // Set when the operator asks to stop: every reading loop ends at its next check.
  static bool& AnnullaRicezione();

 private:
  struct FileRicezione {
    QFile file;
    qint64 inizio = 0;
  };
  enum class Fine { Completa, Annullata, Muta };

  bool richiestaDiAnnullare();
  EsitoLettura inLettura(bool soloSeriali, bool occupato,
                         const std::function<void(const CassaConfigurata&, EsitoLettura&)>& leggi);
  std::vector<CassaConfigurata> casseDaLeggere(bool soloSeriali) const;
  QString percorsoRicezione(int numero) const;
  bool apriFile(FileRicezione& f, int numero);
  bool pronta(const CassaConfigurata& cassa);
  QStringList chiedi(const QString& comando, int attesaMs);
  void scrivi(FileRicezione& f, const QString& risposta);
  Fine perProdotto(FileRicezione& f, LetturaCassa& l);
  Fine lista(FileRicezione& f, LetturaCassa& l, const QString& comando, bool fineK);
  void leggiCassa(const CassaConfigurata& cassa, MetodoLettura metodo, bool torvane,
                  EsitoLettura& esito);
  void avvisaInterrotta(const LetturaCassa& l);
  void stato(const QString& testo) const;

  StrumentiLettura s_;
};

}  // namespace listinova
