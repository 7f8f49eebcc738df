#include "support/cartella_di_prova.h"

#include <QDir>

CartellaDiProva::CartellaDiProva()
    : oldConfig_(qgetenv("XDG_CONFIG_HOME")),
      hadConfig_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
  QDir(dir_.path()).mkpath("config");
  qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toUtf8());
}

CartellaDiProva::~CartellaDiProva() {
  if (hadConfig_)
    qputenv("XDG_CONFIG_HOME", oldConfig_);
  else
    qunsetenv("XDG_CONFIG_HOME");
}
