// Runs every window test class in one process.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "gui_tests.h"

template <typename T>
int Run(int argc, char* argv[]) {
  T t;
  return QTest::qExec(&t, argc, argv);
}

// Each class in turn, left to right.
template <typename... T>
int RunAll(int argc, char* argv[]) {
  int failed = 0;
  ((failed += Run<T>(argc, argv)), ...);
  return failed;
}

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VorqTile");
  // Nothing a test does may read or write the settings beside the program.
  QTemporaryDir home;
  qputenv("VORQTILE_HOME", QFile::encodeName(home.path()));
  using namespace vorq::gui::test;
  const int failed = RunAll<MainWindowTest, ToolBoxTest, SettingsTest, FilesBufferTest, PaintingTest, OutputTest,
                           TextLogTest>(argc, argv);
  return failed == 0 ? 0 : 1;
}
