#pragma once

#include <QString>
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

// What the command driver works with. `attesa` is the transport itself except in tests; the
// two callbacks may be empty.
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
};

// Sends a command file to one register, a line at a time, with the register family's
// enquiry handshake, timeouts and error classes. Commands the register refused are listed in
// "NonTRASMESSI" + address + ".txt" in the output folder and shown at the end.
class DriverComandi {
 public:
  static constexpr int kAttesaRispostaMs = 3000;
  // Timeouts in a row that are retried; one more abandons the job.
  static constexpr int kTimeoutTollerati = 5;
  // A register busy for longer than this many repetitions has the command skipped.
  static constexpr int kRipetizioniMassime = 100;

  explicit DriverComandi(StrumentiDriver strumenti);

  // True when the whole file went through; false when the job was abandoned for timeouts or
  // stopped by a grave fault (after terminaProgramma has been called).
  bool EsameComandi(const QString& fileComandi, const QString& indirizzo);

  // [Cartelle] OUT, written back as "C:" when missing; "C:" stands for the program folder.
  QString cartellaUscita() const;

 private:
  enum class FineRiga { Passata, Abbandonata, Terminata };
  struct Lavoro {
    QString indirizzo;
    QString nonTrasmessi;
    int numeroTimeout = 0;
  };

  FineRiga inviaRiga(const QString& riga, Lavoro& lavoro);
  bool enquiry(Lavoro& lavoro);
  FineRiga erroreGrave(const QString& testoEsito);
  void scriviLog(const QString& testo) const;

  StrumentiDriver s_;
};

}  // namespace listinova
