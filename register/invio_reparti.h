#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

#include "platform/prompts.h"
#include "register/casse_configurate.h"

namespace listinova {
namespace platform {
class Clock;
class Notice;
class SerialPort;
}  // namespace platform
class DriverComandi;
class LogDriver;
class RecordReparti;
class TrasportoRegistratore;

struct EsitoReparti {
  bool avviato = false;     // false when refused or when the register model takes none
  bool interrotto = false;  // "PROCEDURA INTERROTTA!!!": the registers after it got nothing
  int casseServite = 0;     // registers that took every department
  int casseConRifiuti = 0;  // registers that refused some (listed in "NonTRASMESSI...")
};

enum class EsitoSeriale {
  Completato,
  ConRifiuti,
  NessunReparto,
  TabellaNonLeggibile,
  CassaNonRisponde
};

// "Trasferisci sulla CASSA": every department to every configured register, register 1 over
// the network through the command driver, the serial ones record by record.
class InvioReparti {
 public:
  // Enquiries per record, and attempts per record, before giving up.
  static constexpr int kTentativi = 100;
  static constexpr int kAttesaEnquiryMs = 50;

  // `cassa` is the serial line under `trasporto`; `frAvviso` shows (true) or hides the
  // window's "ATTENDERE... INVIO IN CORSO" frame and may be empty.
  InvioReparti(RecordReparti& record, DriverComandi& driver, TrasportoRegistratore& trasporto,
               platform::SerialPort& cassa, LogDriver& log, platform::Prompts& prompts,
               platform::Notice& notice, platform::Clock& clock,
               std::vector<CassaConfigurata> casse, std::function<void(bool)> frAvviso = {});

  EsitoReparti Trasferisci();
  // Every department over the serial port AperturaPortaRegCassa has just opened. A record is
  // taken only on the register's result frame "00"; the ones it refuses are listed in the
  // not-transmitted file of `indirizzo` and shown at the end.
  EsitoSeriale InvioSerialeReparti(const QString& indirizzo = {});

 private:
  enum class Risposta { Accettato, Ripeti, Rifiutato, Nessuna };
  enum class Record { Preso, Rifiutato, CassaMuta };

  bool inviaRete(const CassaConfigurata& cassa, EsitoReparti& esito);
  bool inviaSeriale(const CassaConfigurata& cassa, EsitoReparti& esito);
  Record inviaRecord(const QString& record, const QString& nonTrasmessi);
  bool enquiry();
  Risposta rispostaA(const QByteArray& trama);
  bool primoByteAck(qsizetype inizio) const;
  void avviso(bool visibile);
  void messaggio(const QString& testo, platform::Icon icona);

  RecordReparti& record_;
  DriverComandi& driver_;
  TrasportoRegistratore& trasporto_;
  platform::SerialPort& cassa_;
  LogDriver& log_;
  platform::Prompts& prompts_;
  platform::Notice& notice_;
  platform::Clock& clock_;
  std::vector<CassaConfigurata> casse_;
  std::function<void(bool)> frAvviso_;
};

}  // namespace listinova
