#pragma once

#include <QString>
#include <stdexcept>

namespace listinova::platform::db {

// A failed statement: the Italian description for the log, the engine's code as the number.
// `technical` keeps a library's own words (often English) for the error log only.
class DatabaseError : public std::runtime_error {
 public:
  DatabaseError(const QString& description, int code, QString technical = {})
      : std::runtime_error(description.toStdString()),
        description_(description),
        code_(code),
        technical_(std::move(technical)) {}
  const QString& description() const { return description_; }
  int code() const { return code_; }
  const QString& technical() const { return technical_; }

 private:
  QString description_;
  int code_;
  QString technical_;
};

}  // namespace listinova::platform::db
