#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <vector>

#include "tools/simulatore/comportamento.h"
#include "tools/simulatore/lettore_frame.h"
#include "tools/simulatore/letture_registratore.h"
#include "tools/simulatore/tabelle_registratore.h"

namespace listinova::simulatore {

// The register end of the line, whatever carries the bytes: it is fed what the program sends
// and emits what the register writes back.
class SimulatoreRegistratore : public QObject {
  Q_OBJECT

 public:
  explicit SimulatoreRegistratore(Comportamento comportamento = {}, QObject* parent = nullptr);

  void riceviByte(const QByteArray& byte);

  const Comportamento& comportamento() const { return comportamento_; }
  // The code rules start counting again.
  void impostaComportamento(const Comportamento& comportamento);

  // Every byte received, noise and the program's ACK/NAK included.
  QByteArray ricevuti() const { return ricevuti_; }
  // The text of every good frame, in order, resent ones too.
  QStringList comandi() const { return comandi_; }
  // Only the commands answered "00" reach the tables.
  const QMap<QString, PluRicevuto>& tabellaPlu() const { return tabelle_.plu(); }
  const QMap<QString, QStringList>& tabellaReparti() const { return tabelle_.reparti(); }
  int checksumErrati() const { return checksumErrati_; }
  // What the register sold and its answers to readings; its PLU table, also loaded from a file.
  LettureRegistratore& letture() { return letture_; }
  TabelleRegistratore& tabelle() { return tabelle_; }

 signals:
  void inviaByte(const QByteArray& byte);
  void byteRicevuti(const QByteArray& byte);
  void comandoRicevuto(const QString& comando);

 private:
  void rispondiAlComando(const QByteArray& corpo);
  QByteArray codicePer(const QString& comando);
  static QByteArray corpoDi(const QByteArray& codice);
  QByteArray frameDiRisposta(const QByteArray& corpo, bool guasto = false) const;
  void accoda(const QByteArray& byte, int attesaMs);
  void inviaProssimo();

  struct Uscita {
    QByteArray byte;
    int attesaMs;
  };

  Comportamento comportamento_;
  std::vector<int> usiRegole_;
  std::vector<QElapsedTimer> inizioRegole_;
  QByteArray daRimandare_;  // the true answer, sent again at the program's NAK
  LettoreFrame lettore_;
  TabelleRegistratore tabelle_;
  LettureRegistratore letture_;
  QByteArray ricevuti_;
  QStringList comandi_;
  int checksumErrati_ = 0;
  int riga_ = 0;
  bool ultimoRiuscito_ = true;
  QByteArray rispostaRipetuta_;
  std::deque<Uscita> coda_;
  QTimer timer_;
};

}  // namespace listinova::simulatore
