#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace listinova::testing {

// A small file system of the test's own (tests run as root); unmounted at the end.
class DiscoMontato {
 public:
  DiscoMontato(const QString& punto, int kib) : punto_(punto) {
    QDir().mkpath(punto);
    montato_ =
        comando("mount", {"-t", "tmpfs", "-o", QString("size=%1k").arg(kib), "tmpfs", punto});
  }
  ~DiscoMontato() {
    if (montato_) comando("umount", {"-l", punto_});
  }
  bool montato() const { return montato_; }
  bool soloLettura() { return comando("mount", {"-o", "remount,ro", punto_}); }
  // Fills the disk until only about `liberiKib` are left.
  void riempi(int liberiKib) {
    QFile riempitivo(punto_ + "/riempitivo");
    if (!riempitivo.open(QIODevice::WriteOnly)) return;
    const QByteArray blocco(4096, 'x');
    while (riempitivo.write(blocco) == blocco.size() && riempitivo.flush()) {
    }
    riempitivo.close();
    riempitivo.resize(std::max<qint64>(0, riempitivo.size() - liberiKib * 1024LL));
  }

 private:
  static bool comando(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  }
  QString punto_;
  bool montato_ = false;
};

}  // namespace listinova::testing
