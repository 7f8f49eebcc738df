#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace listinova {
namespace platform {
class Clock;
class Prompts;
class TextViewer;
}  // namespace platform
class AttesaRisposta;
class LogDriver;
class TrasportoRegistratore;
struct RispostaMisuratore;

// How long the driver waits on a register before its send has failed.
struct LimitiDriver {
  // A register answering "busy" for this long to one command has failed.
  int occupatoMs = 60000;
  // Paper out or cover open for this long with nobody to see the message; 0 waits for ever
  // (an operator at the window is told each time and answers).
  int senzaOperatoreMs = 0;
};

// What the command driver works with. `attesa` is the transport itself except in tests; the
// callbacks may be empty.
struct StrumentiDriver {
  TrasportoRegistratore& trasporto;
  AttesaRisposta& attesa;
  LogDriver& log;
  platform::Prompts& prompts;
  platform::Clock& clock;
  platform::TextViewer& visualizzatore;
  QString cartellaProgramma;
  QString percorsoSetup;
  // The line counter of the product list.
  std::function<void(const QString&)> lblRecAct;
  // A grave fault of the register: the store is closed cleanly and the program ends.
  std::function<void()> terminaProgramma;
  // The status field of the product list, for the retries of a register that does not answer.
  std::function<void(const QString&)> lblTab;
  LimitiDriver limiti;
};

// Sends a command file to one register, a line at a time, with the register family's
// enquiry handshake, timeouts and error classes. Commands the register refused are listed in
// "NonTRASMESSI" + address + ".txt" in the output folder and shown at the end.
class DriverComandi {
 public:
  static constexpr int kAttesaRispostaMs = 3000;
  // Timeouts in a row that are retried; one more abandons the job.
  static constexpr int kTimeoutTollerati = 5;

  explicit DriverComandi(StrumentiDriver strumenti);

  // True when the end of the file was reached; false when the job was abandoned (timeouts, a
  // register busy or waiting for paper too long) or stopped by a grave fault (after
  // terminaProgramma has been called). The lines the register refused are in
  // ComandiRifiutati(); `numeroCassa` names the register in the status field.
  bool EsameComandi(const QString& fileComandi, const QString& indirizzo, int numeroCassa = 1);
  // The lines of the last file that the register did not take, as read from the file.
  const QStringList& ComandiRifiutati() const { return rifiutati_; }

  const LimitiDriver& limiti() const { return s_.limiti; }

  // [Cartelle] OUT, written back as "C:" when missing; "C:" stands for the program folder.
  QString cartellaUscita() const;
  // "NonTRASMESSI" + address + ".txt" in the output folder.
  QString percorsoNonTrasmessi(const QString& indirizzo) const;
  // Two lines for the command as read from the file, one for the register's answer.
  static void annotaRifiuto(const QString& nonTrasmessi, const QString& riga,
                            const RispostaMisuratore& risposta);
  // The operator reads the not-transmitted list, when there is one, before the job goes on.
  void mostraNonTrasmessi(const QString& nonTrasmessi);

 private:
  enum class FineRiga { Passata, Abbandonata, Terminata };
  struct Lavoro {
    QString indirizzo;
    QString nonTrasmessi;
    int numeroCassa = 1;
    int numeroTimeout = 0;
    int timeoutComando = 0;  // of the line being sent
  };

  FineRiga inviaRiga(const QString& riga, Lavoro& lavoro);
  bool enquiry(Lavoro& lavoro);
  FineRiga erroreGrave(const QString& testoEsito);
  FineRiga abbandona(Lavoro& lavoro, const QString& motivo);
  void tentativoFallito(const Lavoro& lavoro) const;
  void scriviLog(const QString& testo) const;

  StrumentiDriver s_;
  QStringList rifiutati_;
};

}  // namespace listinova
