// Runs every window test class in one process.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>

#include "gui_tests.h"

template <typename T>
int Run(int argc, char* argv[]) {
  T t;
  return QTest::qExec(&t, argc, argv);
}

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VorqTile");
  // Nothing a test does may read or write the settings beside the program.
  QTemporaryDir home;
  qputenv("VORQTILE_HOME", QFile::encodeName(home.path()));
  using namespace vorq::gui::test;
  int failed = 0;
  failed += Run<MainWindowTest>(argc, argv);
  failed += Run<ToolBoxTest>(argc, argv);
  failed += Run<SettingsTest>(argc, argv);
  failed += Run<FilesBufferTest>(argc, argv);
  failed += Run<SizeTilesTest>(argc, argv);
  failed += Run<PaintingTest>(argc, argv);
  failed += Run<GradientTest>(argc, argv);
  failed += Run<RecipeTest>(argc, argv);
  failed += Run<OutputTest>(argc, argv);
  failed += Run<TextLogTest>(argc, argv);
  return failed == 0 ? 0 : 1;
}
