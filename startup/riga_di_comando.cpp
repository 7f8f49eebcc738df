#include "startup/riga_di_comando.h"

namespace listinova {
namespace {

struct Lavoro {
  const char* nome;
  const char* descrizione;
  int (*esegui)(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori);
};

QString versione() {
  return QStringLiteral("%1.%2.%3")
      .arg(LISTINOVA_VERSION_MAJOR)
      .arg(LISTINOVA_VERSION_MINOR)
      .arg(LISTINOVA_VERSION_PATCH);
}

int mostraVersione(const QStringList&, QTextStream& uscita, QTextStream&) {
  uscita << "Listinova " << versione() << Qt::endl;
  return 0;
}

int mostraAiuto(const QStringList&, QTextStream& uscita, QTextStream&);

constexpr Lavoro kLavori[] = {
    {"--help", "elenca i comandi disponibili", mostraAiuto},
    {"--versione", "mostra la versione del programma", mostraVersione},
};

int mostraAiuto(const QStringList&, QTextStream& uscita, QTextStream&) {
  uscita << "Listinova " << versione() << " - archivio prodotti e casse del negozio\n\n"
         << "Uso: listinova [--cartella CARTELLA] [COMANDO]\n\n"
         << "Senza comando si apre il programma con le sue finestre.\n\n"
         << "Comandi:\n";
  for (const Lavoro& lavoro : kLavori)
    uscita << "  " << QString::fromUtf8(lavoro.nome).leftJustified(22) << lavoro.descrizione
           << "\n";
  uscita << "\nOpzioni:\n"
         << "  " << QString("--cartella CARTELLA").leftJustified(22)
         << "cartella del negozio (impostazioni, Dati/, file per le casse);\n"
         << QString(24, ' ') << "in alternativa la variabile LISTINOVA_CARTELLA, altrimenti\n"
         << QString(24, ' ') << "~/.local/share/listinova\n";
  uscita.flush();
  return 0;
}

const Lavoro* lavoroDi(const QStringList& argomenti) {
  for (const QString& argomento : argomenti.mid(1)) {
    if (argomento == "-h") return &kLavori[0];
    for (const Lavoro& lavoro : kLavori)
      if (argomento == QLatin1String(lavoro.nome)) return &lavoro;
  }
  return nullptr;
}

}  // namespace

// Any "--" word but the shop folder option is for the command line; Qt's own single-dash
// options ("-platform offscreen") stay with the windows.
bool eUnLavoroDaRigaDiComando(const QStringList& argomenti) {
  for (qsizetype i = 1; i < argomenti.size(); ++i) {
    const QString& argomento = argomenti[i];
    if (argomento == "--cartella") {
      ++i;
      continue;
    }
    if (argomento == "-h" || (argomento.startsWith("--") && !argomento.startsWith("--cartella=")))
      return true;
  }
  return false;
}

int EseguiRigaDiComando(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) {
  const Lavoro* lavoro = lavoroDi(argomenti);
  if (!lavoro) {
    errori << "Comando non riconosciuto. Usare: listinova --help" << Qt::endl;
    return 2;
  }
  return lavoro->esegui(argomenti, uscita, errori);
}

}  // namespace listinova
