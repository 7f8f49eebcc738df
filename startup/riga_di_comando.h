#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <vector>

namespace listinova {

// One job a shop can schedule, run without windows.
struct LavoroRigaDiComando {
  QString nome;  // "invia", "--versione"
  QString uso;   // how it is called, for the help text
  QString descrizione;
  std::function<int(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori)> esegui;
};

// The command-line face of the program: "--help" and "--versione", and the jobs added.
class RigaDiComando {
 public:
  RigaDiComando();
  void aggiungi(LavoroRigaDiComando lavoro);

  // True when the arguments name a job (or a mistake) rather than the windows.
  bool riguarda(const QStringList& argomenti) const;
  // Runs the job the arguments name and gives the exit status.
  int esegui(const QStringList& argomenti, QTextStream& uscita, QTextStream& errori) const;

 private:
  const LavoroRigaDiComando* lavoroDi(const QStringList& argomenti) const;
  int aiuto(QTextStream& uscita) const;

  std::vector<LavoroRigaDiComando> lavori_;
};

QString VersioneProgramma();

}  // namespace listinova
