#pragma once

#include <QString>
#include <optional>

namespace listinova {

// The longest barcode a product may carry: the registers and the labels take no more.
constexpr int kLunghezzaMassimaBarcode = 20;

// The reason a barcode read from a file cannot be stored, if any.
std::optional<QString> ControllaBarcode(const QString& barcode);

}  // namespace listinova
