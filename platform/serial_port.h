#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace listinova::platform {

enum class FlowControl { None, Hardware, XonXoff };

// A serial line: the registers' and the barcode scanner's.
class SerialPort : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~SerialPort() override = default;

  // `port` is a port number ("1" is the first serial port) or a device path;
  // `settings` is "speed,parity letter,data bits,stop bits" such as "9600,n,8,1".
  virtual bool open(const QString& port, const QString& settings, FlowControl flow) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual qint64 write(const QByteArray& bytes) = 0;
  virtual QByteArray readAll() = 0;
  // Why the last open or write failed, in Italian.
  virtual QString errorText() const = 0;

 signals:
  void bytesArrived();
};

// "1" -> "/dev/ttyS0"; a path is used as given.
QString serialDevicePath(const QString& port);

}  // namespace listinova::platform
