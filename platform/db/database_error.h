#pragma once

#include <QString>
#include <stdexcept>

namespace listinova::platform::db {

// A failed statement: the Italian description for the log, the engine's code as the number.
class DatabaseError : public std::runtime_error {
 public:
  DatabaseError(const QString& description, int code)
      : std::runtime_error(description.toStdString()), description_(description), code_(code) {}
  const QString& description() const { return description_; }
  int code() const { return code_; }

 private:
  QString description_;
  int code_;
};

}  // namespace listinova::platform::db
