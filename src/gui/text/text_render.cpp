#include "gui/text/text_render.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "core/oplog/log_format.h"
#include "core/util/arith.h"

namespace vorq::gui {

QString InstalledFamily(const QString& name) {
  if (name.isEmpty()) return {};
  for (const QString& f : QFontDatabase::families())
    if (f.compare(name, Qt::CaseInsensitive) == 0) return f;
  return {};
}

QString DefaultTextFamily() {
  for (const char* f : {"MS Sans Serif", "Liberation Sans"})
    if (QString found = InstalledFamily(QString::fromLatin1(f)); !found.isEmpty()) return found;
  return QFontInfo(QFont(QStringLiteral("Sans Serif"))).family();
}

QFont TextFont(const QString& family, int size, TextStyle style) {
  const QString installed = InstalledFamily(family);
  QFont f(installed.isEmpty() ? DefaultTextFamily() : installed);
  // Points at 96 dots per inch, so the pixels do not depend on the screen.
  f.setPixelSize(std::max(1, MulDiv(std::clamp(size, kMinTextSize, kMaxTextSize), 96, 72)));
  f.setBold(style == TextStyle::Bold || style == TextStyle::BoldItalic);
  f.setItalic(style == TextStyle::Italic || style == TextStyle::BoldItalic);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setKerning(true);
  return f;
}

QFont TextFont(const TextToolLine& line) {
  return TextFont(QString::fromStdString(line.Font), line.Size, line.Style);
}

int TextFlags(TextAlign align) {
  const int h = align == TextAlign::Center  ? Qt::AlignHCenter
                : align == TextAlign::Right ? Qt::AlignRight
                                            : Qt::AlignLeft;
  return h | Qt::AlignTop | Qt::TextExpandTabs;
}

QSize TextBoxSize(const TextToolLine& line) {
  const QFont font = TextFont(line);
  const QFontMetrics fm(font);
  const QRect measured = fm.boundingRect(QRect(0, 0, 0, 0), TextFlags(line.Align), QString::fromStdString(line.Text));
  return QSize(measured.width() + fm.maxWidth(), measured.height());
}

std::string TextLineProblem(const TextToolLine& line, QSize* boxOut) {
  if (line.Size < kMinTextSize || line.Size > kMaxTextSize)
    return "the text size " + FormatInt(line.Size) + " is outside " + FormatInt(kMinTextSize) + " .. " +
           FormatInt(kMaxTextSize) + " points";
  const QSize box = TextBoxSize(line);
  if (boxOut) *boxOut = box;
  if (box.width() > kMaxTextBoxSide || box.height() > kMaxTextBoxSide ||
      int64_t(box.width()) * box.height() > kMaxTextBoxPixels)
    return "the text is too large to draw: " + FormatInt(box.width()) + " x " + FormatInt(box.height()) +
           " pixels (at most " + FormatInt(kMaxTextBoxSide) + " on a side and " + FormatInt(kMaxTextBoxPixels) +
           " pixels)";
  return {};
}

namespace {

void DrawInBox(QPainter& p, const TextToolLine& line, const QRect& box, const QColor& colour) {
  p.setFont(TextFont(line));
  p.setPen(colour);
  p.setBrush(Qt::NoBrush);
  p.drawText(box, TextFlags(line.Align), QString::fromStdString(line.Text));
}

QColor ColourOf(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

QImage RenderFloatingText(const TextToolLine& line) {
  QSize box;
  if (!TextLineProblem(line, &box).empty() || box.isEmpty()) return {};
  QImage image(box, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  DrawInBox(p, line, QRect(QPoint(0, 0), box), ColourOf(line.Color));
  return image;
}

bool DrawTextToolLine(TFastDIB& surface, const TextToolLine& line, std::string& message) {
  message.clear();
  QSize box;
  if (std::string problem = TextLineProblem(line, &box); !problem.empty()) {
    message = problem;
    return false;
  }
  const QString family = QString::fromStdString(line.Font);
  if (InstalledFamily(family).isEmpty())
    message = "the font \"" + line.Font + "\" is not installed; the default face \"" +
              DefaultTextFamily().toStdString() + "\" stands in";
  const int64_t x = line.X, y = line.Y;
  if (surface.Empty() || line.Text.empty() || x >= surface.Width() || y >= surface.Height() ||
      x + box.width() <= 0 || y + box.height() <= 0)
    return true;
  QImage image(surface.Bits, surface.Width(), surface.Height(), int(surface.BytesPerRow), QImage::Format_BGR888);
  QPainter p(&image);
  DrawInBox(p, line, QRect(int(x), int(y), box.width(), box.height()), ColourOf(line.Color));
  return true;
}

std::function<bool(TFastDIB&, const TextToolLine&, std::string&)> OffscreenTextRenderer() {
  // The application lives as long as the renderer: dropping the renderer ends it.
  auto app = std::make_shared<std::unique_ptr<QGuiApplication>>();
  return [app](TFastDIB& surface, const TextToolLine& line, std::string& message) {
    if (!QGuiApplication::instance()) {
      static int argc = 3;
      static char name[] = "vorqtile", platform[] = "-platform", offscreen[] = "offscreen";
      static char* argv[] = {name, platform, offscreen, nullptr};
      // The platform's start-up chatter (no runtime folder and the like) is no concern of a batch run.
      const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&,
                                                                   const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(text));
      });
      *app = std::make_unique<QGuiApplication>(argc, argv);
      qInstallMessageHandler(previous);
    }
    return DrawTextToolLine(surface, line, message);
  };
}

}  // namespace vorq::gui
