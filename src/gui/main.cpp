// VorqTile: the splash, the main window, and the first argument's image.
#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <string_view>

#include "gui/dialogs/tf_splash.h"
#include "gui/mainwin/tf_vorqtile.h"
#include "gui/toolbox/tf_toolbox.h"

namespace {

// The main window with the tool box beside it, as one picture.
bool GrabWindows(vorq::gui::TfVorqTile& main, const QString& path) {
  const QPixmap left = main.grab();
  const QPixmap right = main.toolBox()->grab();
  const int gap = 8;
  QImage out(left.width() + gap + right.width(), std::max(left.height(), right.height()), QImage::Format_RGB32);
  out.fill(QColor(96, 96, 96));
  QPainter p(&out);
  p.drawPixmap(0, 0, left);
  p.drawPixmap(left.width() + gap, 0, right);
  p.end();
  return out.save(path, "PNG");
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before anything needs a display.
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "--version") {
      std::printf("vorqtile %s\n", VORQ_VERSION);
      return 0;
    }
  QApplication app(argc, argv);
  // QApplication takes the user's locale; numbers in files, logs and boxes always use '.'.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("VorqTile");

  QCommandLineParser parser;
  parser.setApplicationDescription("Seamless tiles and textures.");
  parser.addHelpOption();
  const QCommandLineOption noSplash("no-splash", "Start without the splash window.");
  const QCommandLineOption grab("grab", "Save a picture of the windows to FILE (PNG) and quit.", "FILE");
  parser.addOption(noSplash);
  parser.addOption(grab);
  parser.addPositionalArgument("image", "A BMP image to open at start.", "[image]");
  parser.process(app);
  const bool grabbing = parser.isSet(grab);

  std::unique_ptr<vorq::gui::TfSplash> splash;
  if (!parser.isSet(noSplash) && !grabbing) {
    splash = std::make_unique<vorq::gui::TfSplash>();
    splash->show();
    QApplication::processEvents();
    QEventLoop wait;
    QTimer::singleShot(2000, &wait, &QEventLoop::quit);
    wait.exec();
    splash->repaint();
  }

  vorq::gui::TfVorqTile window;
  if (!parser.positionalArguments().isEmpty()) window.SetStartImage(parser.positionalArguments().first());

  int grabStatus = 0;
  if (grabbing) {
    // Nobody is there to answer a message box.
    window.setMessageSink([](const QString& text) { qWarning("%s", qPrintable(text)); });
    QObject::connect(&window, &vorq::gui::TfVorqTile::FirstShown, &window, [&] {
      // Give both windows a moment to lay out and paint.
      QTimer::singleShot(300, &window, [&] {
        grabStatus = GrabWindows(window, parser.value(grab)) ? 0 : 1;
        QApplication::exit(grabStatus);
      });
    });
  }
  window.show();
  splash.reset();
  const int status = app.exec();
  return grabbing ? grabStatus : status;
}
