#include "banco_casse.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QUdpSocket>

#include "startup/var_globali.h"

namespace listinova::testing {

using simulatore::Comportamento;
using simulatore::SimulatoreRegistratore;

namespace {

QString& portaDelSlot(int slot) {
  VarGlobali& g = Globali();
  return slot == 1 ? g.RegCassa.porta : slot == 2 ? g.PortaCOM1 : g.PortaCOM2;
}

// A port nobody holds at this moment, for the program's own end of the UDP channel.
quint16 portaLibera() {
  QUdpSocket prova;
  prova.bind(QHostAddress::LocalHost, 0);
  return prova.localPort();
}

}  // namespace

BancoCasse::BancoCasse() { Globali().TitoloProgramma = QStringLiteral("Negozio di prova"); }

SimulatoreRegistratore& BancoCasse::cassaSeriale(int slot, const Comportamento& modo) {
  Cassa cassa{std::make_unique<SimulatoreRegistratore>(modo)};
  cassa.pty = std::make_unique<simulatore::SimulatorePty>(*cassa.registratore);
  EXPECT_TRUE(cassa.pty->apri()) << cassa.pty->errore().toStdString();
  portaDelSlot(slot) = cassa.pty->percorso();
  casse_.push_back(std::move(cassa));
  return *casse_.back().registratore;
}

SimulatoreRegistratore& BancoCasse::cassaInRete(const Comportamento& modo, quint16 portaLocale) {
  Cassa cassa{std::make_unique<SimulatoreRegistratore>(modo)};
  cassa.udp = std::make_unique<simulatore::SimulatoreUdp>(*cassa.registratore);
  EXPECT_TRUE(cassa.udp->apri(QHostAddress::LocalHost, 0)) << cassa.udp->errore().toStdString();
  EXPECT_EQ(collegamento_, nullptr) << "the link already holds its ports";
  porte_ = {cassa.udp->porta(), portaLocale != 0 ? portaLocale : portaLibera()};
  Globali().IndirizzoRete = QStringLiteral("127.0.0.1");
  casse_.push_back(std::move(cassa));
  return *casse_.back().registratore;
}

QString BancoCasse::porta(int slot) const { return portaDelSlot(slot); }

int BancoCasse::modificati() const {
  return negozio.conta(QStringLiteral("Select * from Magazzino where Modificato=-1"));
}

CollegamentoCasse& BancoCasse::collegamento() {
  if (!collegamento_) {
    collegamento_ = std::make_unique<CollegamentoCasse>(
        CollegamentoCasse::Ambiente{*db, prompts, notice, clock, visualizzatore, cartella.root(),
                                    cartella.setup(), [this] { ++terminazioni; }, porte_, limiti});
  }
  return *collegamento_;
}

EsitoInvio BancoCasse::invia(bool soloModificati, bool torvane) {
  return collegamento().InviaPLU(soloModificati, torvane);
}

RicezionePlu BancoCasse::ricezione(std::function<void(int)> avanzamento) {
  SchermoLettura schermo;
  if (avanzamento) schermo.avanzamento = [avanzamento](int letti, int) { avanzamento(letti); };
  return RicezionePlu({*db, collegamento().trasporto(), collegamento().driver(), prompts, clock,
                       [] { return true; }, std::move(schermo)});
}

QStringList BancoCasse::righe(const QString& nome) const {
  QFile file(percorso(nome));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList righe = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
  if (!righe.isEmpty() && righe.last().isEmpty()) righe.removeLast();
  return righe;
}

QStringList BancoCasse::logDriver() const {
  const QStringList tutte = righe(QStringLiteral("BrindeloLOG.dat"));
  QStringList messaggi;
  for (qsizetype i = 1; i < tutte.size(); i += 2) messaggi << tutte[i];
  return messaggi;
}

}  // namespace listinova::testing
