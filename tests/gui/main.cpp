// Runs every window test class in one process.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "color_sliders_test.h"
#include "files_buffer_test.h"
#include "main_window_test.h"
#include "options_test.h"
#include "painting_test.h"
#include "settings_test.h"
#include "size_tiles_test.h"
#include "tool_box_test.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VorqTile");
  // Nothing a test does may read or write the settings beside the program.
  QTemporaryDir home;
  qputenv("VORQTILE_HOME", QFile::encodeName(home.path()));
  int failed = 0;
  {
    vorq::gui::test::MainWindowTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::ToolBoxTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::SettingsTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::OptionsTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::FilesBufferTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::SizeTilesTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::PaintingTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::ColorSlidersTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
