// Runs every window test class in one process.
#include <QApplication>
#include <QTest>

#include "main_window_test.h"
#include "tool_box_test.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VorqTile");
  int failed = 0;
  {
    vorq::gui::test::MainWindowTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    vorq::gui::test::ToolBoxTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
