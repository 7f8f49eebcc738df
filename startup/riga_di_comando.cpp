#include "startup/riga_di_comando.h"

#include "startup/lavoro_non_avviato.h"

namespace listinova {
namespace {

// The first word that is not the shop folder option; Qt's own single-dash options
// ("-platform offscreen") stay with the windows.
QString primaParola(const QStringList& argomenti) {
  for (qsizetype i = 1; i < argomenti.size(); ++i) {
    const QString& argomento = argomenti[i];
    if (argomento == "--cartella") {
      ++i;
      continue;
    }
    if (argomento.startsWith("--cartella=")) continue;
    if (argomento == "-h") return "--help";
    if (argomento.startsWith('-') && !argomento.startsWith("--")) {
      ++i;  // a Qt option and its value
      continue;
    }
    return argomento;
  }
  return {};
}

}  // namespace

QString VersioneProgramma() {
  return QStringLiteral("%1.%2.%3")
      .arg(LISTINOVA_VERSION_MAJOR)
      .arg(LISTINOVA_VERSION_MINOR)
      .arg(LISTINOVA_VERSION_PATCH);
}

RigaDiComando::RigaDiComando() {
  aggiungi(
      {"--help", "--help", "elenca i comandi disponibili",
       [this](const QStringList&, QTextStream& uscita, QTextStream&) { return aiuto(uscita); }});
  aggiungi({"--versione", "--versione", "mostra la versione del programma",
            [](const QStringList&, QTextStream& uscita, QTextStream&) {
              uscita << "Listinova " << VersioneProgramma() << Qt::endl;
              return 0;
            }});
}

void RigaDiComando::aggiungi(LavoroRigaDiComando lavoro) { lavori_.push_back(std::move(lavoro)); }

const LavoroRigaDiComando* RigaDiComando::lavoroDi(const QStringList& argomenti) const {
  const QString parola = primaParola(argomenti);
  for (const auto& lavoro : lavori_)
    if (lavoro.nome == parola) return &lavoro;
  return nullptr;
}

bool RigaDiComando::riguarda(const QStringList& argomenti) const {
  return !primaParola(argomenti).isEmpty();
}

int RigaDiComando::esegui(const QStringList& argomenti, QTextStream& uscita,
                          QTextStream& errori) const {
  const LavoroRigaDiComando* lavoro = lavoroDi(argomenti);
  if (!lavoro) {
    errori << "Comando non riconosciuto: " << primaParola(argomenti) << ". Usare: listinova --help"
           << Qt::endl;
    return 2;
  }
  return lavoro->esegui(argomenti, uscita, errori);
}

int RigaDiComando::aiuto(QTextStream& uscita) const {
  uscita << "Listinova " << VersioneProgramma() << " - archivio prodotti e casse del negozio\n\n"
         << "Uso: listinova [--cartella CARTELLA] [COMANDO]\n\n"
         << "Senza comando si apre il programma con le sue finestre.\n\n"
         << "Comandi:\n";
  for (const auto& lavoro : lavori_)
    uscita << "  " << lavoro.uso.leftJustified(30) << " " << lavoro.descrizione << "\n";
  uscita << "\nOpzioni:\n"
         << "  " << QString("--cartella CARTELLA").leftJustified(30)
         << " cartella del negozio (impostazioni, Dati/, file per le casse);\n"
         << QString(33, ' ') << "in alternativa la variabile LISTINOVA_CARTELLA, altrimenti\n"
         << QString(33, ' ') << "~/.local/share/listinova\n";
  uscita << "\nStato di uscita (i dettagli di ogni comando in \"man listinova\"):\n"
         << "  0  lavoro riuscito\n"
         << "  1  lavoro non riuscito\n"
         << "  2  comando o opzioni errati; per invia, una cassa ha rifiutato dei record\n"
         << "  3  importa: sostituzione dell'archivio non confermata\n"
         << "  " << kUscitaAvvioNonRiuscito
         << "  avvio non riuscito: archivio danneggiato, di una versione più recente, ...\n"
         << "  " << kUscitaCartellaOccupata << "  " << QString::fromUtf8(kMessaggioCartellaOccupata)
         << " (la finestra o un altro comando): lavoro non fatto\n";
  uscita.flush();
  return 0;
}

}  // namespace listinova
