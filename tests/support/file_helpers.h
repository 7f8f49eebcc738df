#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "support/fakes.h"

namespace listinova::testing {

// The whole file, or nothing when it cannot be read.
inline QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file, making its folders first.
inline bool writeAll(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QStringList askedTexts(const FakePrompts& prompts) {
  QStringList texts;
  for (const auto& question : prompts.asked) texts.append(question.text);
  return texts;
}

}  // namespace listinova::testing
