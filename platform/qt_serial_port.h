#pragma once

#include <QSerialPort>

#include "platform/serial_port.h"

namespace listinova::platform {

class QtSerialPort : public SerialPort {
  Q_OBJECT

 public:
  explicit QtSerialPort(QObject* parent = nullptr);

  bool open(const QString& port, const QString& settings, FlowControl flow) override;
  void close() override;
  bool isOpen() const override;
  qint64 write(const QByteArray& bytes) override;
  QByteArray readAll() override;
  QString errorText() const override;

 private:
  void noteFailure(QSerialPort::SerialPortError error);

  QSerialPort port_;
  QString path_;
  QString errorText_;
};

}  // namespace listinova::platform
