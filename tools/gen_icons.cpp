// Writes the program's icon as the hicolor theme's pictures at build time:
//   vorq_gen_icons OUTDIR   ->  OUTDIR/NxN/apps/vorqtile.png
#include <QDir>
#include <QImage>
#include <cstdio>

#include "gui/output/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vorq_gen_icons OUTDIR\n");
    return 2;
  }
  for (int size : vorq::gui::kAppIconSizes) {
    const QString dir = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    if (!QDir().mkpath(dir) || !vorq::gui::AppIconImage(size).save(dir + "/vorqtile.png", "PNG")) {
      std::fprintf(stderr, "vorq_gen_icons: cannot write %s/vorqtile.png\n", qPrintable(dir));
      return 1;
    }
  }
  return 0;
}
