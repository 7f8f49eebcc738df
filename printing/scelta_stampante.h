#pragma once

#include <QString>
#include <QStringList>

namespace listinova {
namespace platform {
class Printers;
class PrintTarget;
class Prompts;
}  // namespace platform

inline const QString kSezioneStampanti = QStringLiteral("STdiSISTEMA");
inline const QString kChiaveStampanteA4 = QStringLiteral("Predefinita");
inline const QString kChiaveStampanteEtichette = QStringLiteral("xFrontalini");
// The purpose the printer selection is opened with for the A4 printer; any other value
// chooses the label printer.
inline const QString kScopoA4 = QStringLiteral("0");

QString ChiavePerScopo(const QString& scopo);
// Writes the printer name under `chiave` of [STdiSISTEMA].
void ScriviInSetupLaST(const QString& percorsoSetup, const QString& chiave, const QString& nome);
// The printer stored under `chiave`; empty when missing, empty or "?".
QString LeggiStampanteST(const QString& percorsoSetup, const QString& chiave);
// The installed printers, trimmed, empty names left out, in the system's order.
QStringList ElencoStampanti(const platform::Printers& stampanti);
// Sends the program's following print jobs to `nome`; the user's system-wide default stays
// as it is. A printer no longer installed leaves the target where it was and says so.
bool EseguiAssegnazioneST(platform::PrintTarget& destinazione, const QString& nome,
                          platform::Prompts& prompts);

}  // namespace listinova
