#include "startup/icone_pulsanti.h"

#include <QHash>
#include <QPushButton>
#include <QStringList>

// The icon set lives in a static library: its resources must be pulled in by name.
static void registraRisorse() { Q_INIT_RESOURCE(resources); }

namespace listinova {

namespace {

constexpr int kLarghezzaMinima = 90;  // the old 1350 twips

QString chiaveDa(const QString& testo) {
  static const QHash<QString, QString> chiavi = {
      {QStringLiteral("apri"), QStringLiteral("open")},
      {QStringLiteral("nuovo"), QStringLiteral("new")},
      {QStringLiteral("crea"), QStringLiteral("new")},
      {QStringLiteral("modifica"), QStringLiteral("edit")},
      {QStringLiteral("annulla"), QStringLiteral("cancel")},
      {QStringLiteral("ok"), QStringLiteral("ok")},
      {QStringLiteral("conferma"), QStringLiteral("ok")},
      {QStringLiteral("registra"), QStringLiteral("save")},
      {QStringLiteral("aggiorna"), QStringLiteral("save")},
      {QStringLiteral("elimina"), QStringLiteral("delete")},
      {QStringLiteral("stampa"), QStringLiteral("print")},
      {QStringLiteral("anteprima"), QStringLiteral("preview")},
      {QStringLiteral("chiudi"), QStringLiteral("exit")},
      {QStringLiteral("esci"), QStringLiteral("exit")},
      {QStringLiteral("cerca"), QStringLiteral("search")},
      {QStringLiteral("trova"), QStringLiteral("search")},
  };
  return chiavi.value(testo);
}

// Names in the freedesktop icon themes, the preferred one first.
QStringList nomiNelTema(const QString& chiave) {
  static const QHash<QString, QStringList> nomi = {
      {QStringLiteral("open"), {QStringLiteral("document-open")}},
      {QStringLiteral("new"), {QStringLiteral("document-new")}},
      {QStringLiteral("edit"),
       {QStringLiteral("document-edit"), QStringLiteral("accessories-text-editor")}},
      {QStringLiteral("cancel"), {QStringLiteral("process-stop"), QStringLiteral("dialog-cancel")}},
      {QStringLiteral("ok"), {QStringLiteral("dialog-ok")}},
      {QStringLiteral("save"), {QStringLiteral("document-save")}},
      {QStringLiteral("delete"), {QStringLiteral("edit-delete")}},
      {QStringLiteral("print"), {QStringLiteral("document-print")}},
      {QStringLiteral("preview"), {QStringLiteral("document-print-preview")}},
      {QStringLiteral("exit"), {QStringLiteral("application-exit")}},
      {QStringLiteral("search"), {QStringLiteral("edit-find")}},
  };
  return nomi.value(chiave);
}

QIcon iconaPer(const QString& chiave) {
  for (const QString& nome : nomiNelTema(chiave)) {
    if (QIcon::hasThemeIcon(nome)) return QIcon::fromTheme(nome);
  }
  return iconaProgramma(chiave);
}

}  // namespace

QString chiaveIcona(const QString& caption) {
  QString testo = caption;
  testo.remove(u'&');
  testo.remove(QStringLiteral("..."));
  return chiaveDa(testo.toLower());
}

QIcon iconaProgramma(const QString& nome) {
  static const bool registrate = (registraRisorse(), true);
  Q_UNUSED(registrate);
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(nome));
}

void ImpostaIconePulsanti(QWidget* window) {
  if (!window) return;
  for (QPushButton* pulsante : window->findChildren<QPushButton*>()) {
    const QString chiave = chiaveIcona(pulsante->text());
    if (chiave.isEmpty()) continue;
    pulsante->setIcon(iconaPer(chiave));
    if (pulsante->minimumWidth() < kLarghezzaMinima) pulsante->setMinimumWidth(kLarghezzaMinima);
  }
}

}  // namespace listinova
