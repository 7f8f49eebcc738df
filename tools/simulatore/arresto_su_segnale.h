#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace listinova::simulatore {

// Ends the event loop on SIGINT or SIGTERM, so the simulator closes its line and its
// traffic file as on a normal exit. One per program.
class ArrestoSuSegnale : public QObject {
  Q_OBJECT

 public:
  explicit ArrestoSuSegnale(QObject* parent = nullptr);
  ~ArrestoSuSegnale() override;
  ArrestoSuSegnale(const ArrestoSuSegnale&) = delete;
  ArrestoSuSegnale& operator=(const ArrestoSuSegnale&) = delete;

 private:
  std::unique_ptr<QSocketNotifier> avviso_;
};

}  // namespace listinova::simulatore
