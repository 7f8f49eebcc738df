#pragma once

#include <QFile>
#include <QSet>
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
  QString errore;  // why the reading stopped short of the end
  // This reading's lines, after those an interrupted reading had left pending (`pendenti` of
  // the rows); with the lines that could not be booked, also listed in `fileNonRegistrate`.
  EsitoPrenotazione prenotazione;
  int pendenti = 0;
  QString fileNonRegistrate;
  int nonRegistrate() const { return static_cast<int>(prenotazione.nonRegistrate.size()); }
};

struct EsitoLettura {
  bool avviata = false;  // false: refused, no password, or only a request to cancel
  bool annullata = false;
  int casse = 0;  // registers to read
  std::vector<LetturaCassa> lette;
  // Every register was read to its end and what it sold is in the archive.
  bool tutteComplete() const;
  // Lines read from the registers that are not in the archive, and why: in their files.
  int nonRegistrate() const;
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
  // Longest wait for one answer, as the command driver's: a slow register that prints while
  // it answers is still read, and a waiting reading ends as soon as the answer is in.
  static constexpr int kAttesaRispostaMs = 3000;
  static constexpr int kAttesaProntaMs = 3000;
  static constexpr int kAttesaPrimaDelFileMs = 500;
  // A product's question asked again when no answer came: its sales are only read, never
  // moved on, so asking twice cannot count them twice.
  static constexpr int kTentativiProdotto = 3;
  // A busy register is asked again after a pause, for about a minute.
  static constexpr int kPausaCassaOccupataMs = 300;
  static constexpr int kRipetizioniCassaOccupata = 200;
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
  enum class Fine { Completa, Annullata, Interrotta };

  bool richiestaDiAnnullare();
  EsitoLettura inLettura(bool soloSeriali, bool occupato,
                         const std::function<void(const CassaConfigurata&, EsitoLettura&)>& leggi);
  std::vector<CassaConfigurata> casseDaLeggere(bool soloSeriali) const;
  QString percorsoRicezione(int numero) const;
  bool apriFile(FileRicezione& f, LetturaCassa& l, std::optional<MetodoLettura> metodo,
                bool torvane);
  bool prenota(LetturaCassa& l, MetodoLettura metodo, bool torvane);
  bool pronta(const CassaConfigurata& cassa);
  std::optional<QString> chiedi(const QString& comando);
  std::optional<QString> domanda(const QString& comando, LetturaCassa& l, int tentativi = 1);
  bool scrivi(FileRicezione& f, const QString& risposta, LetturaCassa& l);
  Fine perProdotto(FileRicezione& f, LetturaCassa& l);
  Fine lista(FileRicezione& f, LetturaCassa& l, const QString& comando, bool fineK,
             QSet<QString>& prese);
  void leggiCassa(const CassaConfigurata& cassa, MetodoLettura metodo, bool torvane,
                  EsitoLettura& esito);
  void chiudiCassa(FileRicezione& f, LetturaCassa& l, Fine fine,
                   std::optional<MetodoLettura> metodo, bool torvane);
  void avvisaInterrotta(const LetturaCassa& l);
  void elencaNonRegistrate(LetturaCassa& l);
  void stato(const QString& testo) const;

  StrumentiLettura s_;
};

}  // namespace listinova
