#pragma once

#include <QObject>
#include <functional>

#include "platform/qt_serial_port.h"
#include "platform/qt_udp_endpoint.h"
#include "register/esame_comandi.h"
#include "register/invio_plu.h"
#include "register/invio_reparti.h"
#include "register/log_driver.h"
#include "register/trasporto_registratore.h"

namespace listinova {
namespace platform {
class TextViewer;
}

// What the register jobs show on the product list; every hook may be empty.
struct SchermoCasse {
  std::function<void(const QString&)> lblTab;  // status field; an empty text hides it
  std::function<void(const QString&)> lblRecAct;
  std::function<void(int)> lblRecTot;
  std::function<void(bool)> occupato;  // the busy pointer
};

// The program's one link to the registers: the serial line "Cassa", the datagram channel
// "Winsock1", the transport over them and the command driver, for the whole run.
class CollegamentoCasse : public QObject {
  Q_OBJECT

 public:
  struct Ambiente {
    platform::db::Database& db;
    platform::Prompts& prompts;
    platform::Notice& notice;
    platform::Clock& clock;
    platform::TextViewer& visualizzatore;
    QString cartellaProgramma;
    QString percorsoSetup;
    // A grave fault of a register: the store is closed cleanly and the program ends.
    std::function<void()> terminaProgramma;
    PorteUdp porte;
    LimitiDriver limiti;
  };

  explicit CollegamentoCasse(Ambiente ambiente, QObject* parent = nullptr);

  void setSchermo(SchermoCasse schermo) { schermo_ = std::move(schermo); }
  // "Invia PLU  >>>" to the registers configured now.
  EsitoInvio InviaPLU(bool soloModificati, bool torvane);
  // "Trasferisci sulla CASSA" of the departments; `frAvviso` shows or hides the department
  // window's notice frame.
  EsitoReparti InviaReparti(bool torvane, std::function<void(bool)> frAvviso = {});

  TrasportoRegistratore& trasporto() { return trasporto_; }
  DriverComandi& driver() { return driver_; }
  LogDriver& log() { return log_; }

 private:
  Ambiente a_;
  SchermoCasse schermo_;
  platform::QtSerialPort cassa_;
  platform::QtUdpEndpoint winsock1_;
  LogDriver log_;
  TrasportoRegistratore trasporto_;
  DriverComandi driver_;
};

}  // namespace listinova
