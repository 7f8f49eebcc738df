#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>

namespace listinova::testing {

// The named child of a window; a missing one fails the test with its name, before any use.
template <typename T>
T* figlio(const QObject& finestra, const QString& nome) {
  T* trovato = finestra.findChild<T*>(nome);
  EXPECT_NE(trovato, nullptr) << nome.toStdString();
  return trovato;
}

}  // namespace listinova::testing
