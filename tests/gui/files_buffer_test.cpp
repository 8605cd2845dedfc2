// File ▸ Open and Save As, and the Buffer menu with its thumbnail.
#include <QDialogButtonBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

// Hands the next file dialog this answer (empty: Cancel).
void ChooseNext(Fixture& f, const QString& path) {
  f.window->setFileChooser([path](bool) { return path; });
}

// A picture whose every pixel differs from its neighbours and whose red and
// blue differ, so swapped channels or rows show.
QImage Picture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) * 3 % 256));
  return image;
}

bool SurfaceShows(const TFastDIB& s, const QImage& image) {
  if (s.Width() != image.width() || s.Height() != image.height()) return false;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const TPixel24 p = s.GetPixel(y, x);
      if (qRgb(p.R, p.G, p.B) != (image.pixel(x, y) | 0xFF000000)) return false;
    }
  return true;
}

QToolButton* Button(Fixture& f, const char* name) {
  return f.window->findChild<QToolBar*>("ToolBar1")->findChild<QToolButton*>(name);
}

void DoubleClick(QWidget* w) {
  const QPointF centre(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent event(QEvent::MouseButtonDblClick, centre, w->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

}  // namespace

void FilesBufferTest::openShowsTheFileAndKeepsTheImageOnFailure() {
  QTemporaryDir dir;
  const QImage picture = Picture(30, 20);
  QVERIFY(picture.save(dir.filePath("tile.png"), "PNG"));
  QFile junk(dir.filePath("junk.jpg"));
  QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture at all") > 0);
  junk.close();

  Fixture f;
  ChooseNext(f, dir.filePath("tile.png"));
  f.window->findChild<QToolButton*>("bOpen")->click();
  QVERIFY(SurfaceShows(f.editor().WorkSurface, picture));
  QCOMPARE(f.window->statusPanel(kPanelHeight)->text(), QString("Height: 20"));
  QCOMPARE(f.window->windowTitle(), QString("tile.png[*] - VorqTile"));
  QCOMPARE(f.window->defaultDirectory(), QDir(dir.path()).absolutePath());

  // A file nobody can read: a message naming it; the picture and the title stay.
  const std::vector<uint8_t> before = f.Pixels();
  ChooseNext(f, dir.filePath("junk.jpg"));
  f.window->action("Open1")->trigger();
  QCOMPARE(f.messages.size(), 1);
  QVERIFY2(f.messages[0].contains("junk.jpg"), qPrintable(f.messages[0]));
  QCOMPARE(f.Pixels(), before);
  QCOMPARE(f.window->windowTitle(), QString("tile.png[*] - VorqTile"));
}

void FilesBufferTest::saveAsPicksTheFormatByExtension() {
  QTemporaryDir dir;
  Fixture f;
  const QImage picture = Picture(24, 16);
  QVERIFY(picture.save(dir.filePath("source.png")));
  ChooseNext(f, dir.filePath("source.png"));
  f.window->action("Open1")->trigger();

  // The typed extension picks the format; without one (a folder's does not count), a JPEG.
  QVERIFY(QDir(dir.path()).mkdir("tiles.gif"));
  for (auto [typed, written, format] :
       {std::tuple{"out.bmp", "out.bmp", "bmp"}, {"tiles.gif/inside", "tiles.gif/inside.jpg", "jpeg"}}) {
    ChooseNext(f, dir.filePath(typed));
    QVERIFY2(f.window->SaveAs1Click(), typed);
    QImageReader reader(dir.filePath(written));
    QCOMPARE(reader.format(), QByteArray(format));
    QCOMPARE(reader.read().size(), picture.size());
  }
  QVERIFY(SurfaceShows(f.editor().WorkSurface, QImage(dir.filePath("out.bmp"))));
  QVERIFY(f.messages.isEmpty());

  // The next dialog starts where this one ended; Cancel writes nothing and keeps the folder.
  ChooseNext(f, "");
  QVERIFY(!f.window->SaveAs1Click());
  QCOMPARE(f.window->defaultDirectory(), QDir(dir.filePath("tiles.gif")).absolutePath());
}

void FilesBufferTest::bufferLoadsCopiesAndPastes() {
  QTemporaryDir dir;
  QImage red(40, 20, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  QVERIFY(red.save(dir.filePath("red.png")));
  QFile junk(dir.filePath("junk.bmp"));
  QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("BMnonsense") > 0);
  junk.close();

  Fixture f;
  const QString folder = f.window->defaultDirectory();
  QVERIFY(!Button(f, "bPasteBuf")->isEnabled());

  // An empty buffer: double-clicking its thumbnail does nothing.
  f.PaintPattern();
  const std::vector<uint8_t> before = f.Pixels();
  DoubleClick(f.window->bufferThumb());
  QVERIFY(f.editor().Undo.Empty());

  ChooseNext(f, dir.filePath("junk.bmp"));
  f.window->action("LoadBufferfromFile1")->trigger();
  QCOMPARE(f.messages.size(), 1);
  QVERIFY(!f.window->action("PasteBuffertoImage1")->isEnabled());

  ChooseNext(f, dir.filePath("red.png"));
  f.window->action("LoadBufferfromFile1")->trigger();
  QCOMPARE(f.messages.size(), 1);
  QVERIFY(SurfaceShows(f.editor().BufferSurface, red));
  QVERIFY(Button(f, "bPasteBuf")->isEnabled());
  // The 40 x 20 picture stretched over the whole 65 x 65 thumbnail.
  const QImage thumb = f.window->bufferThumb()->pixmap().toImage();
  QCOMPARE(thumb.size(), QSize(65, 65));
  QCOMPARE(thumb.pixel(64, 64), qRgb(255, 0, 0));
  // Loading the buffer takes no snapshot and leaves the folder alone.
  QVERIFY(f.editor().Undo.Empty());
  QCOMPARE(f.Pixels(), before);
  QCOMPARE(f.window->defaultDirectory(), folder);
  // Map Texture starts from the buffer in grey; Cancel leaves image and undo ring alone.
  WhenModal([](QWidget* d) {
    QCOMPARE(Captions(d), QStringList({"Cancel", "Load New Texture...", "Map Texture", "OK", "Texture",
                                       "Textures must be grayscaled.  The image you select will be automatically "
                                       "converted to gray scale and sized to match the current Image.",
                                       "Use Buffer as Texture"}));
    const QImage shown = Child<QLabel>(d, "imTexture")->pixmap().toImage();
    QVERIFY(shown.size() == QSize(105, 105) && shown.pixel(104, 104) == qRgb(76, 76, 76));
    d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  f.window->action("MapTexture1")->trigger();
  QVERIFY(f.editor().Undo.Empty());
  QCOMPARE(f.Pixels(), before);

  f.StartLog();
  Button(f, "bCopyBuf")->click();

  // A smaller, different image; pasting brings back the buffer's size and pixels.
  f.editor().WorkSurface.SetSize(100, 50, 24, 0);
  f.editor().RefreshImage();
  DoubleClick(f.window->bufferThumb());
  QCOMPARE(f.Pixels(), before);
  QCOMPARE(f.window->statusPanel(kPanelWidth)->text(), QString("Width: 256"));
  Button(f, "bUndo")->click();
  QCOMPARE(f.editor().WorkSurface.Height(), 50);
  Button(f, "bPasteBuf")->click();
  QCOMPARE(f.Pixels(), before);

  QCOMPARE(f.LoggedLines(),
           QStringList({"Copy Image to Buffer", "Paste Buffer to Image", "UnDo", "Paste Buffer to Image"}));
  QCOMPARE(f.messages.size(), 1);  // the unreadable file's alone
}

}  // namespace vorq::gui::test
