// Shared helpers for the window tests: a main window whose messages are
// collected instead of shown, and a patterned image to run effects on.
#pragma once

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <vector>

#include "editor/settings.h"

#include "gui/mainwin/image_view.h"
#include "gui/mainwin/tf_vorqtile.h"
#include "gui/toolbox/tf_toolbox.h"

namespace vorq::gui::test {

template <typename T = QWidget>
T* Child(QWidget* parent, const char* name) {
  T* w = parent->findChild<T*>(name);
  if (!w) qFatal("no child %s", name);
  return w;
}

// Types into a box as a person does, one key at a time.
inline void Type(QLineEdit* edit, const QString& text) {
  edit->clear();
  QTest::keyClicks(edit, text);
}

// Focus arriving or leaving for a reason: a tab, a menu, another window.
inline void Focus(QWidget* w, QEvent::Type type, Qt::FocusReason reason = Qt::TabFocusReason) {
  QFocusEvent event(type, reason);
  QApplication::sendEvent(w, &event);
}

// Runs inside the next modal dialog's own event loop.
inline void WhenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    QVERIFY(modal);
    act(modal);
    // A failed check returns early: closing the window ends the test now, not at the timeout.
    if (QTest::currentTestFailed() && modal && modal == QApplication::activeModalWidget()) modal->close();
  });
}

// A file's whole text.
inline QString FileText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString("(unreadable)");
}

// The lines of a log after its header.
inline QStringList LogLines(const QString& path) {
  QStringList lines = FileText(path).split("\r\n", Qt::SkipEmptyParts);
  if (!lines.isEmpty()) lines.removeFirst();
  return lines;
}

// Each pixel its own colour, red and blue apart so that swapped channels or rows show; white where (x + y) % 4 == 0.
inline QImage Picture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, (x + y) % 4 ? qRgb(x * 9 % 256, 40, y * 5 % 256) : qRgb(255, 255, 255));
  return image;
}

inline QRgb At(const TFastDIB& s, int x, int y) {
  const TPixel24 p = s.GetPixel(y, x);
  return qRgb(p.R, p.G, p.B);
}

inline std::vector<uint8_t> Bytes(const TFastDIB& s) { return std::vector<uint8_t>(s.Bits, s.Bits + s.ImageSize()); }

// A surface's bytes row by row without the row padding, as the canvas holds them.
inline std::vector<uint8_t> Rows(const TFastDIB& s) {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < s.Height(); ++y) bytes.insert(bytes.end(), s.RowTable[y], s.RowTable[y] + 3 * s.Width());
  return bytes;
}

inline void WriteSettings(const QString& dir, const QByteArray& text) {
  QFile file(dir + "/VorqTile.ini");
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

inline IniFile ReadSettings(const QString& dir) {
  std::string text, error;
  if (!ReadTextFile((dir + "/VorqTile.ini").toStdString(), text, error)) qFatal("%s", error.c_str());
  return IniFile::Parse(text);
}

// The window reads its settings from $VORQTILE_HOME; each fixture gets an
// empty folder of its own unless it is handed one to share with another.
struct Fixture {
  QTemporaryDir home;
  std::unique_ptr<TfVorqTile> window;
  QStringList messages;
  QStringList asked;  // questions put by a test that set no answer of its own; answered No

  explicit Fixture(const QString& settingsDir = QString()) {
    qputenv("VORQTILE_HOME", QFile::encodeName(settingsDir.isEmpty() ? home.path() : settingsDir));
    window = std::make_unique<TfVorqTile>();
    window->setMessageSink([this](const QString& text) { messages << text; });
    window->setAskHandler([this](const QString& text, bool) {
      asked << text;
      return UiPort::Answer::No;
    });
  }
  Editor& editor() { return window->editor(); }
  TfToolBox* box() { return window->toolBox(); }
  // The colour the tool box's pen button shows.
  QColor PenSwatch() { return Child<QPushButton>(box(), "bPen")->icon().pixmap(12, 12).toImage().pixelColor(6, 6); }

  // Shows the window and waits for its first-show work (start image, gradient).
  bool ShowFirst() {
    QSignalSpy shown(window.get(), &TfVorqTile::FirstShown);
    window->show();
    return shown.wait(2000);
  }

  bool ShowExposed() {
    window->show();
    return QTest::qWaitForWindowExposed(window.get());
  }

  // A log in the fixture's folder; LoggedLines closes it and reads it back.
  QString LogPath() const { return home.filePath("VorqLog.txt"); }
  void StartLog() {
    editor().LogPath = QFile::encodeName(LogPath()).toStdString();
    window->action("LogthisSession1")->trigger();
  }
  QStringList LoggedLines() {
    window->action("CloseLog1")->trigger();
    return LogLines(LogPath());
  }

  // A non-uniform picture, so filters have something to change.
  void PaintPattern() {
    TFastDIB& s = editor().WorkSurface;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x)
        s.SetPixel(y, x, MakePixel(uint8_t((x * 37) ^ (y * 11)), uint8_t(x * y), uint8_t(((x / 8 + y / 8) % 2) * 255)));
    editor().RefreshImage();
  }

  void Fill(TPixel24 colour) {
    TFastDIB& s = editor().WorkSurface;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) s.SetPixel(y, x, colour);
    editor().RefreshImage();
  }

  std::vector<uint8_t> Pixels() { return Bytes(editor().WorkSurface); }

  // The bytes the image view shows now, row by row.
  std::vector<uint8_t> Shown() {
    const QImage image = window->imageView()->Image();
    std::vector<uint8_t> bytes;
    for (int y = 0; y < image.height(); ++y)
      bytes.insert(bytes.end(), image.constScanLine(y), image.constScanLine(y) + 3 * image.width());
    return bytes;
  }

  QTreeWidgetItem* Node(const QString& text) {
    const auto found = window->tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }

  void Select(const QString& text) { window->tree()->setCurrentItem(Node(text)); }
};

}  // namespace vorq::gui::test
