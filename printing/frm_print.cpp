// The print options of the label preview.
#include "printing/frm_print.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/prompts.h"
#include "startup/filtro_tasti.h"

namespace listinova {
namespace {

constexpr int kModoSoloCifre = 1;

std::optional<int> Intero(const QString& testo) {
  bool ok = false;
  const int n = testo.trimmed().toInt(&ok);
  return ok ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

std::optional<RichiestaStampa> RichiestaDaOpzioni(OpzioneStampa opzione, const QString& inizio,
                                                  const QString& fine, const QString& numero,
                                                  int pagina, int pagine) {
  switch (opzione) {
    case OpzioneStampa::Tutte:
      return RichiestaStampa{1, pagine, 0};
    case OpzioneStampa::Corrente:
      return RichiestaStampa{pagina, pagina, 0};
    case OpzioneStampa::Scelte: {
      const auto a = Intero(inizio);
      const auto b = Intero(fine);
      if (!a || !b || *a <= 0 || *b <= 0 || *a > *b) return std::nullopt;
      return RichiestaStampa{*a, *b, 0};
    }
    case OpzioneStampa::Etichetta: {
      const auto n = Intero(numero);
      if (!n || *n < 0) return std::nullopt;
      return RichiestaStampa{1, 1, *n};
    }
  }
  return std::nullopt;
}

FrmPrint::FrmPrint(int pagina, int pagine, platform::Prompts& prompts,
                   std::function<void()> cambiaStampante, QWidget* parent)
    : QDialog(parent),
      pagina_(pagina),
      pagine_(pagine),
      prompts_(prompts),
      optTutte_(new QRadioButton(QStringLiteral("Tutte le pagine"))),
      optCorrente_(new QRadioButton(QStringLiteral("Pagina corrente"))),
      optScelte_(new QRadioButton(QStringLiteral("Pagina scelte"))),
      optEtichetta_(new QRadioButton(QStringLiteral("Etichetta Numero"))),
      txtInizio_(new QLineEdit(QStringLiteral("1"))),
      txtFine_(new QLineEdit(QString::number(pagine))),
      txtEtichetta_(new QLineEdit) {
  setObjectName("frmPrint");
  setWindowTitle(QStringLiteral("Opzioni di stampa"));
  optTutte_->setObjectName("optTutte");
  optCorrente_->setObjectName("optCorrente");
  optScelte_->setObjectName("optScelte");
  optEtichetta_->setObjectName("optEtichetta");
  txtInizio_->setObjectName("txtInizio");
  txtFine_->setObjectName("txtFine");
  txtEtichetta_->setObjectName("txtEtichetta");
  for (QLineEdit* campo : {txtInizio_, txtFine_, txtEtichetta_}) {
    FiltroTasti::applica(campo, kModoSoloCifre);
    campo->setMaximumWidth(60);
  }
  optTutte_->setChecked(true);

  auto* layout = new QVBoxLayout(this);
  auto* stato = new QLabel(QString::number(pagina) + " / " + QString::number(pagine));
  stato->setObjectName("lblPagine");
  auto* riga = new QHBoxLayout;
  riga->addWidget(new QLabel(QStringLiteral("Pagina:")));
  riga->addWidget(stato);
  riga->addStretch();
  layout->addLayout(riga);
  auto* griglia = new QGridLayout;
  griglia->addWidget(optTutte_, 0, 0);
  griglia->addWidget(optCorrente_, 1, 0);
  griglia->addWidget(optScelte_, 2, 0);
  griglia->addWidget(new QLabel(QStringLiteral("Inizio:")), 2, 1);
  griglia->addWidget(txtInizio_, 2, 2);
  griglia->addWidget(new QLabel(QStringLiteral("Fine:")), 2, 3);
  griglia->addWidget(txtFine_, 2, 4);
  griglia->addWidget(optEtichetta_, 3, 0);
  griglia->addWidget(txtEtichetta_, 3, 2);
  layout->addLayout(griglia);
  auto* collegamento =
      new QLabel(QStringLiteral("<a href=\"#\">Cambia la Stampante di sistema</a>"));
  collegamento->setObjectName("lblCambiaStampante");
  layout->addWidget(collegamento);
  auto* pulsanti = new QHBoxLayout;
  auto* cmdStampa = new QPushButton(QStringLiteral("&Stampa"));
  cmdStampa->setObjectName("cmdStampa");
  auto* cmdCancella = new QPushButton(QStringLiteral("&Cancella"));
  cmdCancella->setObjectName("cmdCancella");
  pulsanti->addStretch();
  pulsanti->addWidget(cmdStampa);
  pulsanti->addWidget(cmdCancella);
  layout->addLayout(pulsanti);

  connect(cmdStampa, &QPushButton::clicked, this, [this] { cmdStampa_Click(); });
  connect(cmdCancella, &QPushButton::clicked, this, &QDialog::reject);
  connect(collegamento, &QLabel::linkActivated, this, [cambiaStampante] {
    if (cambiaStampante) cambiaStampante();
  });
}

OpzioneStampa FrmPrint::opzione() const {
  if (optCorrente_->isChecked()) return OpzioneStampa::Corrente;
  if (optScelte_->isChecked()) return OpzioneStampa::Scelte;
  if (optEtichetta_->isChecked()) return OpzioneStampa::Etichetta;
  return OpzioneStampa::Tutte;
}

void FrmPrint::cmdStampa_Click() {
  richiesta_ = RichiestaDaOpzioni(opzione(), txtInizio_->text(), txtFine_->text(),
                                  txtEtichetta_->text(), pagina_, pagine_);
  if (!richiesta_) {
    prompts_.ask({QStringLiteral("Inserire dati validi"), QStringLiteral("Stampa Etichetta"),
                  platform::Buttons::Ok, platform::Icon::Exclamation});
    return;
  }
  accept();
}

}  // namespace listinova
