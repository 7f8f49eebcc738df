#include "register/esame_comandi.h"

#include <algorithm>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <optional>
#include <utility>

#include "platform/clock.h"
#include "platform/program_folder.h"
#include "platform/prompts.h"
#include "platform/text_viewer.h"
#include "register/casse_configurate.h"
#include "register/log_driver.h"
#include "register/protocollo_ostrel.h"
#include "register/trasporto_registratore.h"
#include "startup/error_log.h"
#include "startup/modulo_file_ini.h"
#include "startup/var_globali.h"

namespace listinova {

namespace {

constexpr int kPausaTraRigheMs = 1;
constexpr int kPausaDopoErroreMs = 2;
// A busy register asked again at once is asked thousands of times a second.
constexpr int kPausaCassaOccupataMs = 300;
// Visual Basic's "Path/File access error", the number the error log has always used.
constexpr int kErroreAccessoFile = 75;

const QString kTroppiTimeout = QStringLiteral("*** Troppi timeout, esco definitivamente. FINE.");
const QString kOccupata =
    QStringLiteral("*** Cassa occupata da %1 secondi, esco definitivamente. FINE.");
const QString kSenzaOperatore =
    QString::fromUtf8("*** %1: nessuno è intervenuto in %2 secondi, esco definitivamente. FINE.");
const QString kRientro = QStringLiteral("          ");      // ten blanks: the driver's own lines
const QString kRientroEsito = QStringLiteral("         ");  // nine: the register's answers

// Command files are written by the program as UTF-8; an older one in Windows-1252 still reads.
QStringList righeDi(const QByteArray& contenuto) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString testo = utf8(contenuto);
  if (utf8.hasError()) testo = DecodificaDaRegistratore(contenuto);
  QStringList righe = testo.split(u'\n');
  if (righe.last().isEmpty()) righe.removeLast();
  for (QString& riga : righe) {
    if (riga.endsWith(u'\r')) riga.chop(1);
  }
  return righe;
}

// Empty when the file cannot be read; that is logged.
std::optional<QStringList> leggiComandi(const QString& percorso) {
  QFile file(percorso);
  if (!file.open(QIODevice::ReadOnly)) {
    ScriviErrore(QStringLiteral("Driver"), QStringLiteral("EsameComandi"),
                 file.errorString() + QStringLiteral(": ") + percorso, kErroreAccessoFile);
    return std::nullopt;
  }
  return righeDi(file.readAll());
}

void accoda(const QString& percorso, const QString& righe) {
  QFile file(percorso);
  if (file.open(QIODevice::WriteOnly | QIODevice::Append)) file.write(righe.toUtf8());
}

}  // namespace

DriverComandi::DriverComandi(StrumentiDriver strumenti) : s_(std::move(strumenti)) {}

QString DriverComandi::cartellaUscita() const {
  const QString chiave = QStringLiteral("OUT");
  QString cartella = LeggiINI(s_.percorsoSetup, QStringLiteral("Cartelle"), chiave, "?");
  if (cartella == u"?" || cartella.trimmed().isEmpty()) {
    cartella = QStringLiteral("C:");
    ScriviINI(s_.percorsoSetup, QStringLiteral("Cartelle"), chiave, cartella);
  }
  // There is no drive C: here; the settings of the old shops still name it.
  if (cartella.startsWith(QStringLiteral("C:"), Qt::CaseInsensitive))
    return platform::ProgramFolder(s_.cartellaProgramma).path(cartella.mid(2));
  return cartella;
}

QString DriverComandi::percorsoNonTrasmessi(const QString& indirizzo) const {
  const QString uscita = cartellaUscita();
  QDir().mkpath(uscita);
  return uscita + QStringLiteral("/NonTRASMESSI") + IndirizzoPerNomeFile(indirizzo) +
         QStringLiteral(".txt");
}

void DriverComandi::annotaRifiuto(const QString& nonTrasmessi, const QString& riga,
                                  const RispostaMisuratore& r) {
  accoda(nonTrasmessi, QStringLiteral("Invio: \r\n") + riga +
                           QStringLiteral("\r\nESITO : Errore N.") + r.CodiceErrore +
                           QStringLiteral(" - Descr.: ") + r.TestoEsito + QStringLiteral("\r\n"));
}

void DriverComandi::mostraNonTrasmessi(const QString& nonTrasmessi) {
  if (QFile::exists(nonTrasmessi)) s_.visualizzatore.showAndWait(nonTrasmessi);
}

bool DriverComandi::EsameComandi(const QString& fileComandi, const QString& indirizzo,
                                 int numeroCassa) {
  bool esito = true;
  rifiutati_.clear();
  if (s_.lblRecAct) s_.lblRecAct(QStringLiteral("0"));
  Lavoro lavoro{indirizzo, percorsoNonTrasmessi(indirizzo), numeroCassa};
  QFile::remove(lavoro.nonTrasmessi);

  // A command file that cannot be read sent nothing: that is no success.
  const std::optional<QStringList> comandi = leggiComandi(fileComandi);
  if (!comandi) return false;
  const QStringList& righe = *comandi;
  for (qsizetype n = 0; n < righe.size(); ++n) {
    if (s_.lblRecAct) s_.lblRecAct(QString::number(n + 1));
    if (n > 0) s_.clock.wait(kPausaTraRigheMs);
    const FineRiga fine = inviaRiga(righe[n], lavoro);
    if (fine == FineRiga::Terminata) return false;
    if (fine == FineRiga::Abbandonata) {
      esito = false;
      break;
    }
  }

  mostraNonTrasmessi(lavoro.nonTrasmessi);
  return esito;
}

bool DriverComandi::enquiry(Lavoro& lavoro) {
  TrasportoRegistratore& t = s_.trasporto;
  for (;;) {
    t.cmdInitCom(lavoro.indirizzo);
    if (lavoro.numeroTimeout > 0 || lavoro.timeoutComando > 0) tentativoFallito(lavoro);
    const bool ack =
        s_.attesa.attendi([&t] { return t.risposta().Stato == u"ACK"; }, kAttesaRispostaMs);
    if (ack) {
      lavoro.numeroTimeout = 0;
      return true;
    }
    if (++lavoro.numeroTimeout > kTimeoutTollerati) {
      scriviLog(kRientro + kTroppiTimeout);
      t.risposta().Stato.clear();
      return false;
    }
    scriviLog(kRientro + QStringLiteral("*** uscito per timeout comunicazione, RIMANDO ENQ"));
    t.risposta().Stato.clear();
  }
}

// Shown after the enquiry, whose own status text it replaces: otherwise a register that does
// not answer leaves the window unchanged for 18 s.
void DriverComandi::tentativoFallito(const Lavoro& lavoro) const {
  if (!s_.lblTab) return;
  s_.lblTab(QStringLiteral("Cassa %1 non risponde: tentativo %2 di %3")
                .arg(lavoro.numeroCassa)
                .arg(std::max(lavoro.numeroTimeout, lavoro.timeoutComando) + 1)
                .arg(kTimeoutTollerati + 1));
}

DriverComandi::FineRiga DriverComandi::abbandona(Lavoro& lavoro, const QString& motivo) {
  scriviLog(kRientro + motivo);
  s_.trasporto.risposta().Stato.clear();
  accoda(lavoro.nonTrasmessi, motivo + QStringLiteral("\r\n"));
  return FineRiga::Abbandonata;
}

DriverComandi::FineRiga DriverComandi::inviaRiga(const QString& riga, Lavoro& lavoro) {
  TrasportoRegistratore& t = s_.trasporto;
  const QString comando = riga.endsWith(u'/') ? riga : riga + u'/';
  // A register that takes every enquiry but never answers would keep the first counter at 1.
  int& timeoutComando = lavoro.timeoutComando;
  timeoutComando = 0;
  std::optional<QDateTime> occupataDal;
  std::optional<QDateTime> fermaDal;
  bool conEnquiry = true;
  for (;;) {
    if (conEnquiry && !enquiry(lavoro)) return FineRiga::Abbandonata;
    conEnquiry = true;

    t.AzzeraRisposta();
    t.SendCMD(comando);
    const bool risposta = s_.attesa.attendi(
        [&t] { return !t.risposta().CodiceErrore.trimmed().isEmpty(); }, kAttesaRispostaMs);
    if (!risposta) {
      t.attesaFinita();
      ++timeoutComando;
      if (++lavoro.numeroTimeout > kTimeoutTollerati || timeoutComando > kTimeoutTollerati) {
        timeoutComando = 0;
        return abbandona(lavoro, kTroppiTimeout);
      }
      scriviLog(kRientro + QStringLiteral("*** uscito per timeout comunicazione, RIMANDO COMANDO"));
      t.risposta().Stato.clear();
      continue;
    }
    lavoro.numeroTimeout = 0;
    timeoutComando = 0;

    const RispostaMisuratore& r = t.risposta();
    if (r.riuscita()) return FineRiga::Passata;
    scriviLog(kRientroEsito + QStringLiteral("ESITO : ") + r.CodiceErrore + QStringLiteral(" - ") +
              r.TestoEsito + QStringLiteral(" - ") + r.Gravita);
    // Listed as refused only when the line is given up: a busy register may take it yet.
    const auto rifiuta = [&] { annotaRifiuto(lavoro.nonTrasmessi, riga, r); };

    if (r.Gravita == u"1") {
      scriviLog(QStringLiteral("LOG - Errore!"));
      scriviLog(kRientroEsito +
                QStringLiteral("Azione Intrapresa : Tracciato e Ripetuto il comando"));
      s_.clock.wait(kPausaCassaOccupataMs);
      const QDateTime adesso = s_.clock.now();
      if (!occupataDal) occupataDal = adesso;
      if (occupataDal->msecsTo(adesso) >= s_.limiti.occupatoMs) {
        rifiuta();
        return abbandona(lavoro, kOccupata.arg(s_.limiti.occupatoMs / 1000));
      }
    } else if (r.Gravita == u"2") {
      scriviLog(QStringLiteral("LOG - Errore!"));
      s_.clock.wait(kPausaDopoErroreMs);
      scriviLog(kRientroEsito +
                QStringLiteral(
                    "Azione Intrapresa : Tracciato e Ignorato il comando che ha dato l'errore"));
      rifiuta();
      rifiutati_ << riga;
      return FineRiga::Passata;
    } else if (r.Gravita == u"4") {
      scriviLog(QStringLiteral("Errore!"));
      const QString testo = r.TestoEsito;
      if (!fermaDal) fermaDal = s_.clock.now();
      s_.prompts.ask(
          {testo, Globali().TitoloProgramma, platform::Buttons::Ok, platform::Icon::Exclamation});
      s_.clock.wait(kPausaDopoErroreMs);
      const int limite = s_.limiti.senzaOperatoreMs;
      if (limite > 0 && fermaDal->msecsTo(s_.clock.now()) >= limite) {
        rifiuta();
        return abbandona(lavoro, kSenzaOperatore.arg(testo).arg(limite / 1000));
      }
      conEnquiry = false;
    } else if (r.Gravita == u"9") {
      rifiuta();
      return erroreGrave(r.TestoEsito);
    } else {
      // A code the table does not know, or no code at all: not taken.
      rifiuta();
      s_.clock.wait(kPausaDopoErroreMs);
      rifiutati_ << riga;
      return FineRiga::Passata;
    }
  }
}

DriverComandi::FineRiga DriverComandi::erroreGrave(const QString& testoEsito) {
  scriviLog(QStringLiteral("LOG - ERRORE GRAVE DI DISPOSITIVO!"));
  scriviLog(kRientroEsito + QStringLiteral("Azione Intrapresa : Tracciato, Errore grave di stato "
                                           "misuratore fiscale, chiudo Driver"));
  const QString titolo = Globali().TitoloProgramma;
  s_.prompts.ask({testoEsito, titolo, platform::Buttons::Ok, platform::Icon::Critical});
  s_.prompts.ask({QStringLiteral("Errore Grave della stampante fiscale, chiamare assistenza\n\n") +
                      testoEsito.toUpper(),
                  titolo, platform::Buttons::Ok, platform::Icon::Critical});
  if (s_.terminaProgramma) s_.terminaProgramma();
  return FineRiga::Terminata;
}

void DriverComandi::scriviLog(const QString& testo) const { s_.log.ScriviLogDriver(testo); }

}  // namespace listinova
