#pragma once

#include <QString>
#include <functional>

namespace listinova {
namespace platform {
class PrintTarget;
class Prompts;
}  // namespace platform

// "Stampa Front." of the product list: the label printer receives the jobs while the label
// editor (`apriEditor`, modal) is open, then the A4 printer again. With no printer installed
// the editor opens all the same, for the preview and its PDF.
void StampaFrontalini(const QString& percorsoSetup, platform::PrintTarget& destinazione,
                      platform::Prompts& prompts, const std::function<void()>& apriEditor);

}  // namespace listinova
