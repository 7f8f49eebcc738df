#pragma once

#include <QString>

namespace listinova {
namespace platform {
class Clock;
}

// The trapped-error log "Dati/ErrorLog.dat" and its start-up size rule.
class ErrorLog {
 public:
  ErrorLog(QString programFolder, platform::Clock& clock);
  // Never fails: a log that cannot be written is ignored.
  void scrivi(const QString& modulo, const QString& procedura, const QString& descrizione,
              const QString& numero) const;
  // Moves an oversized old log into "Dati/Err"; run once at start.
  void controllaDimensione() const;
  QString percorsoLog() const;

 private:
  QString folder_;
  platform::Clock& clock_;
};

// Writes through the program-wide log (see installa).
void ScriviErrore(const QString& modulo, const QString& procedura, const QString& descrizione,
                  const QString& numero);
void ScriviErrore(const QString& modulo, const QString& procedura, const QString& descrizione,
                  int numero);
// Makes `log` the program-wide log; nullptr detaches it (lines are then dropped).
void installaErrorLog(const ErrorLog* log);

}  // namespace listinova
