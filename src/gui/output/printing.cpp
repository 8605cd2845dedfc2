#include "gui/output/printing.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

namespace vorq::gui {

ScreenMetrics PrimaryScreenMetrics() {
  ScreenMetrics m;
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    m.Width = s->geometry().width();
    m.DpiX = s->logicalDotsPerInchX();
    m.DpiY = s->logicalDotsPerInchY();
  }
  return m;
}

PrintDevice ReadPrintDevice(QPrinter& printer, int orient, const ScreenMetrics& screen) {
  printer.setPageOrientation(orient == kPortrait ? QPageLayout::Portrait : QPageLayout::Landscape);
  PrintDevice d;
  d.PrinterDpiX = printer.logicalDpiX();
  d.PrinterDpiY = printer.logicalDpiY();
  // The painter's origin is the printable area's corner; its size is the page.
  d.PageWidth = printer.width();
  d.PageHeight = printer.height();
  d.ScreenDpiX = screen.DpiX;
  d.ScreenDpiY = screen.DpiY;
  return d;
}

bool PrintImage(QPrinter& printer, const TFastDIB& image, const PrintChoices& choices, const ScreenMetrics& screen,
                std::string& error) {
  const PrintDevice device = ReadPrintDevice(printer, choices.Orient, screen);
  const auto place = PlacePrint(choices, device, image.Width(), image.Height(), error);
  if (!place) return false;

  QPainter painter;
  if (!painter.begin(&printer)) {
    error = "The printer could not be started" +
            (printer.printerName().isEmpty() ? std::string(".") : " (" + printer.printerName().toStdString() + ").");
    return false;
  }
  const QRect target(int(place->Left), int(place->Top), int(place->Width), int(place->Height));
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(target, SurfaceImage(image));
  if (place->Frame) {
    // The rectangle's outermost ring of dots, as a 1-dot pen outlines it.
    // Filled rather than stroked: a PDF printer turns a 1-dot pen into a hairline.
    const int w = target.width(), h = target.height();
    for (const QRect& side : {QRect(target.left(), target.top(), w, 1), QRect(target.left(), target.bottom(), w, 1),
                              QRect(target.left(), target.top(), 1, h), QRect(target.right(), target.top(), 1, h)})
      painter.fillRect(side, Qt::black);
  }
  return painter.end();
}

}  // namespace vorq::gui
