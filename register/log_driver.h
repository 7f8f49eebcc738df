#pragma once

#include <QString>

namespace listinova {
namespace platform {
class Clock;
}

// "BrindeloLOG.dat" in the program folder: every step of the talks with the registers.
class LogDriver {
 public:
  static constexpr qint64 kDimensioneMassima = 360000;

  LogDriver(QString programFolder, platform::Clock& clock);

  // Appends a dated entry; an oversized log is first moved into "Err/". Never fails.
  void ScriviLogDriver(const QString& testo);
  QString percorsoLog() const;

 private:
  void archiviaSeTroppoGrande();

  QString folder_;
  platform::Clock& clock_;
};

}  // namespace listinova
