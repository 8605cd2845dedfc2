// Printing, Set As Wallpaper, the help pages and the title bar.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QImage>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "core/imageio/image_file.h"
#include "gui/dialogs/tf_print.h"
#include "gui/output/help.h"
#include "gui/output/print_layout.h"
#include "gui/output/wallpaper.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

// Stands in for the browser: keeps the addresses it is asked to open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls << url; }
};

namespace {

// Letter paper without margins, printed to a PDF file at 1200 dots per inch.
void ToPdf(QPrinter& p, const QString& file) {
  p.setOutputFormat(QPrinter::PdfFormat);
  p.setOutputFileName(file);
  p.setPageSize(QPageSize(QPageSize::Letter));
  p.setPageMargins(QMarginsF(0, 0, 0, 0));
}

// White, black, red or something else, allowing for the rasteriser's colour rounding.
char Colour(QRgb c) {
  auto is = [c](int r, int g, int b) {
    return std::abs(qRed(c) - r) < 8 && std::abs(qGreen(c) - g) < 8 && std::abs(qBlue(c) - b) < 8;
  };
  return is(255, 255, 255) ? 'w' : is(0, 0, 0) ? 'k' : is(255, 0, 0) ? 'r' : '?';
}

// The colours of w dots of one row of the PDF's page at the printer's 1200 dpi.
QString Dots(const QString& pdf, int x, int y, int w) {
  const QString out = pdf + "-dots";
  QProcess::execute("pdftoppm", {"-r", "1200", "-png", "-singlefile", "-x", QString::number(x), "-y",
                                 QString::number(y), "-W", QString::number(w), "-H", "1", pdf, out});
  const QImage row(out + ".png");
  QString colours;
  for (int i = 0; i < row.width(); ++i) colours += Colour(row.pixel(i, 0));
  return colours;
}

// Printing to a file shows the print dialog with the file's name: accepted as it stands.
void AcceptPrintDialog(int tries = 300) {
  QTimer::singleShot(10, [tries] {
    if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()))
      d->accept();
    else if (tries > 0)
      AcceptPrintDialog(tries - 1);
  });
}

// Fake desktop tools on PATH that write their names and arguments, one per line, to the record.
struct FakeTools {
  QTemporaryDir dir;
  QByteArray oldPath = qgetenv("PATH");
  explicit FakeTools(const QStringList& tools, const QString& listing = QString(), int status = 0) {
    for (const QString& tool : tools) {
      QFile f(dir.filePath(tool));
      f.open(QIODevice::WriteOnly);
      QString script = "#!/bin/sh\n{ echo \"== ${0##*/}\"; printf '%s\\n' \"$@\"; } >> \"" +
                       dir.filePath("record") + "\"\n";
      if (!listing.isEmpty()) script += "case \"$*\" in *-l*) printf '" + listing + "' ;; esac\n";
      if (status) script += QString("echo 'No such schema' >&2\nexit %1\n").arg(status);
      f.write(script.toUtf8());
      f.close();
      f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(dir.path()));
  }
  ~FakeTools() { qputenv("PATH", oldPath); }
  QStringList Calls() {
    QFile f(dir.filePath("record"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList calls = QString::fromUtf8(f.readAll()).split("== ", Qt::SkipEmptyParts);
    for (QString& c : calls) c = c.trimmed().replace('\n', ' ');
    return calls;
  }
};

}  // namespace

void OutputTest::placementFollowsTheRules() {
  // A printable area of 4800 x 6600 dots beside a 96 dpi screen; a 120 x 90 image.
  struct Row {
    int size, align;
    double dpiX, dpiY;
    const char *scale, *wide, *high;
    int left, top, width, height;
  };
  const Row rows[] = {
      // Screen size: 120 / 96 by 90 / 80 inch times the factor, a quarter inch in from the corner.
      {kMatchScreenSize, kAlignTopLeft, 600, 600, "1.375", "", "", 150, 150, 1031, 928},  // 1031.25, 928.125
      {kMatchScreenSize, kAlignTopLeft, 600, 600, "0", "", "", 150, 150, 75, 68},         // 0 prints at 0.1; 67.5
      {kMatchScreenSize, kAlignTopLeft, 600, 600, "1.02", "", "", 150, 150, 765, 688},    // 765.0, 688.5
      // Explicit inches, centred on the whole page.
      {kCDCoverFront, kAlignCenter, 600, 600, "1", "2", "3", 1800, 2400, 1200, 1800},
      // The page less a quarter inch all round: centred, the margins come out equal.
      {kStretchToFitPage, kAlignCenter, 600, 300, "1", "", "", 150, 75, 4500, 6450},
      // An image larger than the page centres to a negative corner; odd halves truncate toward zero.
      {kCDCoverBack, kAlignCenter, 600, 600, "1", "9.501", "10.501", -450, 149, 5701, 6301},
      // Odd resolutions round a half to the even neighbour: 37.5 -> 38, 12.5 -> 12.
      {kSpecifySize, kAlignTopLeft, 150, 50, "1", "0.5", "0.25", 38, 12, 75, 12},
  };
  std::string error;
  for (const Row& r : rows) {
    PrintDevice d{r.dpiX, r.dpiY, 4800, 6600, 96, 80};
    const auto p = PlacePrint(PrintChoices{r.size, r.align, kPortrait, r.scale, r.wide, r.high}, d, 120, 90, error);
    QVERIFY2(p, error.c_str());
    QCOMPARE(QRect(p->Left, p->Top, p->Width, p->Height), QRect(r.left, r.top, r.width, r.height));
    QCOMPARE(p->Frame, r.size >= kCDCoverFront);
  }
  // The factor is read first, whatever the mode; nothing to print (half a dot rounds to none),
  // a mirror image or a size past any paper is refused.
  PrintDevice d{600, 600, 4800, 6600, 96, 96};
  QVERIFY(!PlacePrint(PrintChoices{kSpecifySize, kAlignCenter, kPortrait, "x", "2", "3"}, d, 120, 90, error));
  QCOMPARE(error, std::string("'x' is not a valid floating point value"));
  for (auto [wide, high] :
       {std::pair{"0", "1"}, {"1", "-2"}, {"1e300", "1"}, {"7000", "1"}, {"0.000833333333333333333", "1"}}) {
    QVERIFY(!PlacePrint(PrintChoices{kSpecifySize, kAlignTopLeft, kPortrait, "1", wide, high}, d, 120, 90, error));
    QVERIFY(error.find("printer dot") != std::string::npos);
  }
  QVERIFY(!PlacePrint(PrintChoices{kMatchScreenSize, kAlignTopLeft, kPortrait, "-1", "", ""}, d, 120, 90, error));

  QVERIFY(!CoupledSize("1,5", true, 300, 200, error));
  QCOMPARE(error, std::string("'1,5' is not a valid floating point value"));
}

void OutputTest::printDialogAndThePrintedPage() {
  Fixture f;
  TfPrint* dlg = f.window->printDialog();
  auto* size = Child<QButtonGroup>(dlg, "rgSize");
  auto* eScale = Child<QLineEdit>(dlg, "eScale");
  auto* eWide = Child<QLineEdit>(dlg, "eWide");
  auto* eHigh = Child<QLineEdit>(dlg, "eHigh");
  auto* aspect = Child<QCheckBox>(dlg, "cbAspect");
  TFastDIB image;
  image.SetSize(192, 48);
  dlg->FormShow(image, ScreenMetrics{1024, 96, 48});
  dlg->show();
  QCOMPARE(Child<QButtonGroup>(dlg, "rgOrient")->button(kLandscape)->text(), QString("Landscape"));
  QCOMPARE(eScale->text() + " " + eWide->text() + " " + eHigh->text(), QString("1.083 2.00 1.00"));
  QVERIFY(eScale->isVisible() && !eWide->isVisible() && !aspect->isVisible());
  Child<QAbstractButton>(dlg, "SpeedButton1")->click();
  QVERIFY(f.messages.last().startsWith("The scaling factor is only used for Match Screen Size printing."));

  size->button(kStretchToFitPage)->click();
  QVERIFY(!eScale->isVisible() && !eWide->isVisible() && !aspect->isVisible());
  size->button(kSpecifySize)->click();
  QVERIFY(!eScale->isVisible() && eWide->isVisible() && aspect->isChecked());
  size->button(kCDCoverFront)->click();
  const PrintChoices c = dlg->Choices();
  QCOMPARE(QString::fromStdString(c.Wide + " " + c.High), QString("9.5 4.75"));
  QVERIFY(c.Orient == kLandscape && c.Align == kAlignCenter && eWide->isVisible());

  // Leaving a box with "Maintain Ratio" sets the other from the image's 4 : 1.
  size->button(kSpecifySize)->click();
  for (auto [box, typed, other, coupled] : {std::tuple{eWide, "6", eHigh, "1.50"}, {eHigh, "2", eWide, "8.00"}}) {
    Type(box, typed);
    Focus(box, QEvent::FocusOut);
    QCOMPARE(other->text(), QString(coupled));
  }
  // Focus lost to a menu or another window is not leaving the box.
  Type(eWide, "4");
  Focus(eWide, QEvent::FocusOut, Qt::PopupFocusReason);
  Focus(eWide, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCOMPARE(eHigh->text(), QString("2"));
  Type(eWide, "abc");
  Focus(eWide, QEvent::FocusOut);
  QCOMPARE(f.messages.last(), QString("'abc' is not a valid floating point value"));
  aspect->setChecked(false);
  Type(eWide, "3");
  Focus(eWide, QEvent::FocusOut);
  QCOMPARE(eHigh->text(), QString("2"));
  dlg->hide();

  if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) QSKIP("pdftoppm (poppler-utils) is not installed");
  QTemporaryDir dir;
  f.editor().WorkSurface.SetSize(96, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 96; ++x) f.editor().WorkSurface.SetPixel(y, x, MakePixel(255, 0, 0));
  // Prints through the menu with the choices that set() makes in the dialog.
  auto print = [&](const QString& name, std::function<void(QWidget*)> set) {
    const QString pdf = dir.filePath(name + ".pdf");
    ToPdf(dlg->printer(), pdf);
    WhenModal([set](QWidget* d) {
      set(d);
      Child<QAbstractButton>(d, "BitBtn1")->click();
      AcceptPrintDialog();
    });
    f.window->action("Print1")->trigger();
    return pdf;
  };
  // The pop-up's CD jacket back, from portrait and top left: landscape, centred, with a
  // one-dot black frame on its edge.
  const QString pdf = print("cdback", [&](QWidget* d) {
    Child<QButtonGroup>(d, "rgOrient")->button(kPortrait)->click();
    Child<QButtonGroup>(d, "rgAlign")->button(kAlignTopLeft)->click();
    d->findChild<QMenu*>("PopupMenu1")->findChild<QAction*>("CDJacketBack1")->trigger();
  });
  // The 5.875 inches wide picture on an 11 inches wide page: its left edge at 3075 dots.
  // Across a row: white, the frame's dot, then the picture; the frame's dot ends it.
  const int left = 3075, middle = 2325 + 2400;
  QCOMPARE(Dots(pdf, left - 1, middle, 3), QString("wkr"));
  QCOMPARE(Dots(pdf, left + 7050 - 2, middle, 2), QString("rk"));
  // Down a column: the 4.625 inches high picture's top edge at 2325 dots, its bottom at 7874.
  auto column = [&](int y, int n) {
    QString colours;
    for (int i = 0; i < n; ++i) colours += Dots(pdf, left + 100, y + i, 1);
    return colours;
  };
  QCOMPARE(column(2324, 3) + column(7873, 2), QString("wkrrk"));

  // Cancel prints nothing; a box that is no number abandons the print with its message.
  const QString none = dir.filePath("none.pdf");
  ToPdf(dlg->printer(), none);
  WhenModal([](QWidget* d) {  // the CD cover keeps its size when the dialog shows again
    QCOMPARE(Child<QLineEdit>(d, "eWide")->text() + " " + Child<QLineEdit>(d, "eHigh")->text(), QString("5.875 4.625"));
    Child<QAbstractButton>(d, "BitBtn2")->click();
  });
  f.window->action("Print1")->trigger();
  ToPdf(dlg->printer(), dir.filePath("bad.pdf"));
  WhenModal([](QWidget* d) {  // refused before the print dialog would ask
    Child<QLineEdit>(d, "eScale")->setText("1.3.7");
    Child<QAbstractButton>(d, "BitBtn1")->click();
  });
  f.window->action("Print1")->trigger();
  QVERIFY(!QFileInfo::exists(none) && !QFileInfo::exists(dir.filePath("bad.pdf")));
  QCOMPARE(f.messages.last(), QString("'1.3.7' is not a valid floating point value"));
}

void OutputTest::wallpaperGoesThroughTheDesktopsTool() {
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
  Fixture f;
  f.editor().WorkSurface.SetSize(7, 5);
  const QString bmp = data.filePath("vorqtile/VorqTile.bmp");
  const QString url = QUrl::fromLocalFile(bmp).toString();
  auto set = [&](const char* desktop) {
    qputenv("XDG_CURRENT_DESKTOP", desktop);
    f.messages.clear();
    f.window->action("SetAsWallpaper1")->trigger();
  };

  {
    FakeTools tools({"gsettings"});
    set("ubuntu:GNOME");
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(tools.Calls(), QStringList({"gsettings set org.gnome.desktop.background picture-options wallpaper",
                                         "gsettings set org.gnome.desktop.background picture-uri " + url,
                                         "gsettings set org.gnome.desktop.background picture-uri-dark " + url}));
    // Twice: the same file, overwritten.
    f.editor().WorkSurface.SetSize(3, 2);
    set("MATE");
    QCOMPARE(tools.Calls().mid(3), QStringList({"gsettings set org.mate.background picture-options wallpaper",
                                                "gsettings set org.mate.background picture-filename " + bmp}));
    TFastDIB saved;
    std::string error;
    QVERIFY(LoadImageFile(QFile::encodeName(bmp).toStdString(), saved, error));
    QCOMPARE(saved.Width() * 10 + saved.Height(), 32);
    set("X-Cinnamon");  // no dark picture there
    const QString cinnamon = "gsettings set org.cinnamon.desktop.background ";
    QCOMPARE(tools.Calls().mid(5),
             QStringList({cinnamon + "picture-options wallpaper", cinnamon + "picture-uri " + url}));
  }
  {
    FakeTools tools({"qdbus", "dbus-send"});
    set("KDE");
    const QStringList calls = tools.Calls();
    QCOMPARE(calls.size(), 1);
    QVERIFY(calls[0].startsWith("qdbus org.kde.plasmashell /PlasmaShell org.kde.PlasmaShell.evaluateScript ") &&
            calls[0].contains("'" + url + "'") && calls[0].contains("writeConfig('FillMode', 3)"));
    QFile::remove(tools.dir.filePath("qdbus"));
    set("KDE");
    QVERIFY(tools.Calls().value(1).startsWith("dbus-send --session --dest=org.kde.plasmashell --type=method_call "
                                               "--print-reply /PlasmaShell org.kde.PlasmaShell.evaluateScript string:"));
  }
  {
    FakeTools tools({"xfconf-query"},
                    "/backdrop/screen0/monitor0/workspace0/color-style\\n"
                    "/backdrop/screen0/monitor0/workspace0/last-image\\n"
                    "/backdrop/screen0/monitorHDMI-1/workspace1/last-image\\n");
    set("XFCE");
    const QString c = "xfconf-query -c xfce4-desktop -p /backdrop/screen0/";
    QCOMPARE(tools.Calls(), QStringList({"xfconf-query -c xfce4-desktop -l",
                                         c + "monitor0/workspace0/image-style -n -t int -s 2",
                                         c + "monitor0/workspace0/last-image -n -t string -s " + bmp,
                                         c + "monitorHDMI-1/workspace1/image-style -n -t int -s 2",
                                         c + "monitorHDMI-1/workspace1/last-image -n -t string -s " + bmp}));
  }
  {
    // A desktop it does not know, or a tool that fails: the message says where the file is.
    FakeTools tools({"gsettings"}, QString(), 1);
    set("sway");
    QVERIFY(f.messages.size() == 1 && f.messages[0].contains(bmp) && f.messages[0].contains("not recognised"));
    QVERIFY(tools.Calls().isEmpty());
    set("GNOME");
    QVERIFY(f.messages.value(0).contains(bmp) && f.messages.value(0).contains("gsettings failed (No such schema)"));
  }
  QVERIFY(DetectDesktop("", "plasma") == Desktop::Kde && DetectDesktop("XFCE", "gnome") == Desktop::Xfce);
  qunsetenv("XDG_CURRENT_DESKTOP");
  qunsetenv("XDG_DATA_HOME");
}

void OutputTest::helpPagesShortcutsAndTitle() {
  Fixture f;
  // Help > Contents hands our own page to the desktop's browser.
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "open");
  f.window->action("Contents1")->trigger();
  QDesktopServices::unsetUrlHandler("file");
  QVERIFY(f.messages.isEmpty() && catcher.urls.size() == 1);
  QVERIFY(catcher.urls[0].toLocalFile().endsWith("/help/index.html"));

  // The shortcut list previews.
  bool previewed = false;
  WhenModal([&](QWidget* d) {
    previewed = qobject_cast<QPrintPreviewDialog*>(d) != nullptr;
    d->close();
  });
  f.window->action("PrintShortcutKeyList1")->trigger();
  QVERIFY(previewed);
}

}  // namespace vorq::gui::test

#include "output_test.moc"
