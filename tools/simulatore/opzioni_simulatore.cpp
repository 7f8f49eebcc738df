#include "tools/simulatore/opzioni_simulatore.h"

#include <QRegularExpression>

namespace listinova::simulatore {
namespace {

// "[INDIRIZZO:]PORTA"; "[::1]:PORTA" for IPv6.
bool leggiIndirizzo(const QString& testo, OpzioniSimulatore& opzioni) {
  const qsizetype duePunti = testo.lastIndexOf(':');
  QString indirizzo = duePunti < 0 ? QString() : testo.left(duePunti);
  bool numero = false;
  const uint porta = testo.mid(duePunti + 1).toUInt(&numero);
  if (!numero || porta == 0 || porta > 65535) return false;
  opzioni.porta = static_cast<quint16>(porta);
  if (indirizzo.isEmpty()) return true;
  if (indirizzo.startsWith('[') && indirizzo.endsWith(']')) indirizzo = indirizzo.mid(1).chopped(1);
  opzioni.indirizzo = indirizzo.compare("localhost", Qt::CaseInsensitive) == 0
                          ? QHostAddress(QHostAddress::LocalHost)
                          : QHostAddress(indirizzo);
  return !opzioni.indirizzo.isNull();
}

// "N=CC", "N=CC:VOLTE" or "N=CC:sempre"; N is a line number or the start of a command.
std::optional<RegolaCodice> leggiCodice(const QString& testo) {
  static const QRegularExpression forma("^(.+)=([0-9A-Fa-f]{2})(?::([1-9][0-9]*|sempre))?$");
  const QRegularExpressionMatch parti = forma.match(testo);
  if (!parti.hasMatch()) return std::nullopt;
  const QByteArray codice = parti.captured(2).toUpper().toLatin1();
  const QString volte = parti.captured(3);
  const int quante = volte.isEmpty() ? 1 : volte == "sempre" ? RegolaCodice::Sempre : volte.toInt();
  bool numero = false;
  const int riga = parti.captured(1).toInt(&numero);
  if (numero && riga <= 0) return std::nullopt;
  return numero ? RegolaCodice::perRiga(riga, codice, quante)
                : RegolaCodice::perPrefisso(parti.captured(1), codice, quante);
}

}  // namespace

std::optional<OpzioniSimulatore> LeggiOpzioniSimulatore(const QStringList& argomenti,
                                                        QString& errore) {
  OpzioniSimulatore opzioni;
  Comportamento& comportamento = opzioni.comportamento;
  bool pty = false;
  bool udp = false;
  for (qsizetype i = 1; i < argomenti.size(); ++i) {
    const QString& opzione = argomenti[i];
    const bool haValore = i + 1 < argomenti.size() && !argomenti[i + 1].startsWith("--");
    const auto valore = [&]() -> std::optional<QString> {
      if (!haValore) return std::nullopt;
      return argomenti[++i];
    };
    if (opzione == "--help" || opzione == "-h") {
      opzioni.aiuto = true;
    } else if (opzione == "--pty") {
      pty = true;
    } else if (opzione == "--udp") {
      udp = true;
      if (haValore && !leggiIndirizzo(*valore(), opzioni)) {
        errore = QStringLiteral("Indirizzo non valido per --udp: %1").arg(argomenti[i]);
        return std::nullopt;
      }
    } else if (opzione == "--codice") {
      const auto testo = valore();
      const auto regola = testo ? leggiCodice(*testo) : std::nullopt;
      if (!regola) {
        errore = QStringLiteral("Valore non valido per --codice: %1 (usare N=CC)")
                     .arg(testo.value_or(QString()));
        return std::nullopt;
      }
      comportamento.codici.push_back(*regola);
    } else if (opzione == "--ritardo") {
      bool numero = false;
      const auto testo = valore();
      const int ms = testo ? testo->toInt(&numero) : 0;
      if (!numero || ms < 0) {
        errore = QStringLiteral("Valore non valido per --ritardo: %1 (millisecondi)")
                     .arg(testo.value_or(QString()));
        return std::nullopt;
      }
      comportamento.ritardoMs = ms;
    } else if (opzione == "--registro") {
      const auto testo = valore();
      if (!testo) {
        errore = QStringLiteral("Manca il file di --registro");
        return std::nullopt;
      }
      opzioni.registro = *testo;
    } else if (opzione == "--tabella" || opzione == "--venduti") {
      const auto testo = valore();
      if (!testo) {
        errore = QStringLiteral("Manca il file di %1").arg(opzione);
        return std::nullopt;
      }
      (opzione == "--tabella" ? opzioni.tabella : opzioni.venduti) = *testo;
    } else if (opzione == "--torvane") {
      opzioni.torvane = true;
    } else if (opzione == "--silenzioso") {
      comportamento.silenzioso = true;
    } else if (opzione == "--silenzioso-ai-comandi") {
      comportamento.silenziosoAiComandi = true;
    } else if (opzione == "--spezza") {
      comportamento.spezza = true;
    } else if (opzione == "--rumore") {
      comportamento.rumore = true;
    } else if (opzione == "--checksum-errato") {
      comportamento.checksumErrato = true;
    } else if (opzione == "--eco") {
      comportamento.eco = true;
    } else if (opzione == "--doppio") {
      comportamento.doppio = true;
    } else if (opzione == "--ripete") {
      comportamento.ripete = true;
    } else if (opzione == "--corrotto-prima") {
      static const QRegularExpression esadecimale("^[0-9A-Fa-f]{2}$");
      const auto testo = valore();
      if (!testo || !esadecimale.match(*testo).hasMatch()) {
        errore = QStringLiteral("Valore non valido per --corrotto-prima: %1 (usare CC)")
                     .arg(testo.value_or(QString()));
        return std::nullopt;
      }
      comportamento.corrottoPrima = testo->toUpper().toLatin1();
    } else if (opzione == "--occupato-per") {
      static const QRegularExpression forma("^([1-9][0-9]*)=([1-9][0-9]*)$");
      const auto testo = valore();
      const QRegularExpressionMatch parti = forma.match(testo.value_or(QString()));
      if (!parti.hasMatch()) {
        errore = QStringLiteral("Valore non valido per --occupato-per: %1 (usare N=MS)")
                     .arg(testo.value_or(QString()));
        return std::nullopt;
      }
      comportamento.codici.push_back(
          RegolaCodice::occupatoPer(parti.captured(1).toInt(), parti.captured(2).toInt()));
    } else {
      errore = QStringLiteral("Opzione non riconosciuta: %1").arg(opzione);
      return std::nullopt;
    }
  }
  if (opzioni.aiuto) return opzioni;
  if (pty == udp) {
    errore = QStringLiteral("Indicare una sola linea: --pty oppure --udp");
    return std::nullopt;
  }
  opzioni.linea = pty ? OpzioniSimulatore::Linea::Pty : OpzioniSimulatore::Linea::Udp;
  return opzioni;
}

QString TestoAiutoSimulatore() {
  return QStringLiteral(
      "listinova-simulatore - un registratore di cassa simulato, per provare Listinova\n"
      "senza una cassa vera\n"
      "\n"
      "Uso: listinova-simulatore --pty | --udp [INDIRIZZO:]PORTA [OPZIONI]\n"
      "\n"
      "Linea:\n"
      "  --pty                     apre una porta seriale virtuale e ne stampa il percorso,\n"
      "                            da indicare in Setup.ini come [RegCassa] PortaCOM\n"
      "  --udp [INDIRIZZO:]PORTA   risponde via rete su questa macchina (predefinito\n"
      "                            127.0.0.2:9101); solo indirizzi locali\n"
      "\n"
      "Opzioni:\n"
      "  --codice N=CC             risponde il codice CC (due cifre esadecimali, es. 2C\n"
      "                            carta esaurita) alla riga N, una volta; N=CC:3 per tre\n"
      "                            volte, N=CC:sempre a ogni ripetizione; al posto di N\n"
      "                            anche l'inizio di un comando (es. P/51/=1A:2)\n"
      "  --silenzioso              non risponde a nulla\n"
      "  --silenzioso-ai-comandi   risponde alle chiamate ma non ai comandi\n"
      "  --ritardo MS              attende MS millisecondi prima di ogni risposta a un comando\n"
      "  --spezza                  invia le risposte in più pezzi\n"
      "  --rumore                  invia byte estranei prima di ogni risposta\n"
      "  --checksum-errato         invia le risposte con un checksum sbagliato\n"
      "  --corrotto-prima CC       manda prima ogni risposta come codice CC con checksum\n"
      "                            sbagliato, poi quella vera dopo il NAK del programma\n"
      "  --occupato-per N=MS       risponde occupato (1A) alla riga N per MS millisecondi\n"
      "  --eco                     rimanda ogni comando com'è arrivato prima di rispondere\n"
      "  --doppio                  invia ogni risposta due volte\n"
      "  --ripete                  dopo la prima risposta con dati a una lettura, ripete\n"
      "                            sempre quella (un elenco che non avanza)\n"
      "  --registro FILE           scrive in FILE i byte ricevuti (esadecimali) e i comandi\n"
      "  --tabella FILE            parte con i PLU di FILE (righe P/ e A/ come FilePLU)\n"
      "  --venduti FILE            quantità vendute, righe BARCODE=MILLESIMI (2500 = 2,5),\n"
      "                            lette con h/, J//, K//, n// e p/; un valore che non è un\n"
      "                            numero intero è inviato com'è\n"
      "  --torvane                 risponde alle letture come una cassa Torvane\n"
      "  --help                    mostra questo aiuto\n"
      "\n"
      "Il simulatore resta attivo fino a Ctrl+C.\n");
}

}  // namespace listinova::simulatore
