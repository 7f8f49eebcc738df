#pragma once

// The register simulator as a program of its own, for the benchmarks that talk to it over a
// pseudo-terminal or UDP on loopback.

#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <QUdpSocket>
#include <cstdlib>

namespace listinova::bench {

inline quint16 portaLibera() {
  QUdpSocket prova;
  prova.bind(QHostAddress::LocalHost, 0);
  return prova.localPort();
}

// listinova-simulatore started with `argomenti`; `linea` is what it says once it is listening.
class Simulatore {
 public:
  explicit Simulatore(const QStringList& argomenti) {
    processo_.setProgram(QStringLiteral(LISTINOVA_SIMULATORE));
    processo_.setArguments(argomenti);
    processo_.start();
    static const QRegularExpression pronto(
        "^(Porta seriale del simulatore: |Simulatore in ascolto)");
    while (processo_.waitForReadyRead(5000)) {
      while (processo_.canReadLine()) {
        const QString riga = QString::fromUtf8(processo_.readLine()).trimmed();
        if (!pronto.match(riga).hasMatch()) continue;
        linea = riga.section(QStringLiteral(": "), 1);
        return;
      }
    }
    QTextStream(stderr) << "simulator did not start: " << processo_.readAllStandardError()
                        << Qt::endl;
    std::exit(2);
  }
  ~Simulatore() { ferma(); }

  // The commands it received, from its closing line.
  int ferma() {
    if (processo_.state() == QProcess::NotRunning) return comandi_;
    processo_.terminate();
    processo_.waitForFinished(5000);
    static const QRegularExpression ricevuti("comandi ricevuti: (\\d+)");
    const auto trovato = ricevuti.match(QString::fromUtf8(processo_.readAllStandardOutput()));
    comandi_ = trovato.hasMatch() ? trovato.captured(1).toInt() : -1;
    return comandi_;
  }

  QString linea;

 private:
  QProcess processo_;
  int comandi_ = -1;
};

}  // namespace listinova::bench
