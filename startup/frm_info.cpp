#include "startup/frm_info.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace listinova {

FrmInfo::FrmInfo(QWidget* parent) : QDialog(parent), lblMsg_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Messaggio"));
  setModal(true);
  setMinimumSize(420, 140);

  lblMsg_->setObjectName(QStringLiteral("lblMsg"));
  lblMsg_->setWordWrap(true);
  lblMsg_->setAlignment(Qt::AlignCenter);
  QFont font = lblMsg_->font();
  font.setPointSize(14);
  font.setBold(true);
  lblMsg_->setFont(font);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblMsg_);

  chiusura_.setSingleShot(true);
  chiusura_.setInterval(kDurataMs);
  connect(&chiusura_, &QTimer::timeout, this, &QDialog::accept);
}

void FrmInfo::setMessaggio(const QString& testo) { lblMsg_->setText(testo); }

QString FrmInfo::messaggio() const { return lblMsg_->text(); }

void FrmInfo::mostra(QWidget* parent, const QString& testo) {
  FrmInfo finestra(parent);
  finestra.setMessaggio(testo);
  finestra.exec();
}

void FrmInfo::done(int result) {
  chiusura_.stop();
  terminato_ = true;
  QDialog::done(result);
}

// The timer starts once the window is up, so the message is painted for the whole time.
void FrmInfo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  attivato_ = true;
  terminato_ = false;
  chiusura_.start();
}

QtNotice::QtNotice(QWidget* parent) : parent_(parent) {}

void QtNotice::show(const QString& message) {
  FrmInfo::mostra(parent_ ? parent_.data() : QApplication::activeWindow(), message);
}

}  // namespace listinova
