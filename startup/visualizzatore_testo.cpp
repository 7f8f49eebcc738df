#include "startup/visualizzatore_testo.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "startup/icone_pulsanti.h"

namespace listinova {

VisualizzatoreTesto::VisualizzatoreTesto(const QString& percorsoFile, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmVisualizzatoreTesto"));
  setWindowTitle(QFileInfo(percorsoFile).fileName());
  setModal(true);
  resize(720, 480);

  auto* txtFile = new QPlainTextEdit(this);
  txtFile->setObjectName(QStringLiteral("txtFile"));
  txtFile->setReadOnly(true);
  txtFile->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtFile->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  QFile file(percorsoFile);
  // A file that cannot be read shows as empty, as the old editor showed a new file.
  if (file.open(QIODevice::ReadOnly)) txtFile->setPlainText(QString::fromUtf8(file.readAll()));

  auto* cmdChiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
  cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
  cmdChiudi->setDefault(true);
  connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);

  auto* pulsanti = new QHBoxLayout;
  pulsanti->addStretch();
  pulsanti->addWidget(cmdChiudi);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtFile);
  layout->addLayout(pulsanti);
  ImpostaIconePulsanti(this);
}

QtTextViewer::QtTextViewer(QWidget* parent) : parent_(parent) {}

void QtTextViewer::showAndWait(const QString& filePath) {
  VisualizzatoreTesto finestra(filePath, parent_ ? parent_.data() : QApplication::activeWindow());
  finestra.exec();
}

}  // namespace listinova
