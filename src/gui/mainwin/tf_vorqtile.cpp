#include "gui/mainwin/tf_vorqtile.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <cstring>

#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDockWidget>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "editor/commands/geometry.h"
#include "editor/settings.h"
#include "editor/text_tool.h"
#include "gui/dialogs/tf_about.h"
#include "gui/dialogs/tf_filter.h"
#include "gui/dialogs/tf_gif.h"
#include "gui/dialogs/tf_jpgcomp.h"
#include "gui/dialogs/tf_print.h"
#include "gui/dialogs/tf_sizer.h"
#include "gui/dialogs/tf_tester.h"
#include "gui/widgets/color_ref.h"
#include "gui/widgets/glyphs.h"
#include "gui/mainwin/canvas_view.h"
#include "gui/mainwin/image_view.h"
#include "gui/mainwin/logging_panel.h"
#include "gui/output/app_icon.h"
#include "gui/output/help.h"
#include "gui/output/wallpaper.h"
#include "gui/dialogs/tf_log.h"
#include "gui/dialogs/tf_text.h"
#include "gui/dialogs/tf_texture.h"
#include "gui/mainwin/floating_text.h"
#include "gui/text/text_render.h"
#include "gui/toolbox/tf_toolbox.h"

namespace vorq::gui {

namespace {

const char* const kSavePrompt =
    "Save the Current Image?\r\r(To avoid this prompt, uncheck the menu item under the Options menu)";
const char* const kOpenFilter =
    "BMP, JPG, GIF, PNG (*.bmp *.jpg *.jpeg *.gif *.png);;JPEG Image File (*.jpg);;Bitmaps (*.bmp);;GIF (*.gif);;"
    "PNG (*.png)";
const char* const kSaveFilter =
    "JPG,BMP,GIF,PNG (*.jpg *.bmp *.gif *.png);;JPEG Image File (*.jpg);;Bitmaps (*.bmp);;GIF (*.gif);;PNG (*.png)";
constexpr int kThumbSide = 65;
const char* const kSettingsFile = "VorqTile.ini";
constexpr int kPanelWidths[kStatusPanelCount] = {75, 75, 50, 50, 175};

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Message boxes break lines at '\n' only; the program's texts use CR.
QString ForDisplay(const std::string& s) {
  QString t = Q(s);
  t.replace("\r\n", "\n");
  t.replace('\r', '\n');
  return t;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Menu items start disabled: only the commands that exist are switched on.
QAction* Item(QMenu* menu, const char* caption, const char* name, const char* shortcut = nullptr) {
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  a->setObjectName(name);
  if (shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
  a->setEnabled(false);
  return a;
}

QMenu* Sub(QMenu* parent, const char* caption, const char* name) {
  QMenu* m = parent->addMenu(QString::fromUtf8(caption));
  m->setObjectName(name);
  return m;
}

QMenu* Top(QMenuBar* bar, const char* caption, const char* name) {
  QMenu* m = bar->addMenu(QString::fromUtf8(caption));
  m->setObjectName(name);
  return m;
}

}  // namespace

TfVorqTile::TfVorqTile(QWidget* parent) : QMainWindow(parent) {
  setObjectName("fVorqTile");
  QApplication::setWindowIcon(AppIcon());
  // Desktops match the window to its desktop entry, and so to the icon, by this name.
  QGuiApplication::setDesktopFileName("vorqtile");

  CreateMenus();
  CreateToolBar();
  CreateStatusBar();

  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(CreateLeftPanel());
  auto* scroll = new QScrollArea(central);
  scroll->setObjectName("pnlSine");
  scroll->setWidgetResizable(false);
  scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  imSine = new ImageView(editor_.WorkSurface);
  imSine->SetPopupMenu(PopupMenu1);
  connect(imSine, &ImageView::MouseAt, this, &TfVorqTile::imSineMouseMove);
  scroll->setWidget(imSine);
  canvas_ = new CanvasControls(this, imSine, editor_, "Gradient1", "Options1");
  row->addWidget(scroll, 1);
  setCentralWidget(central);

  toolBox_ = new TfToolBox(editor_, this);
  connect(toolBox_, &TfToolBox::ApplyRequested, this, &TfVorqTile::bGoClick);
  connect(toolBox_, &TfToolBox::UndoRequested, this, &TfVorqTile::bUndoClick);
  connect(toolBox_, &TfToolBox::Closed, this, [this] { ToolBoxShown = false; });
  // The painting tools draw on the image; bColor shows the tool box's colour sliders.
  toolBox_->AttachView(imSine);
  if (auto* bColor = findChild<QToolButton*>("bColor")) {
    bColor->setEnabled(true);
    connect(bColor, &QToolButton::clicked, toolBox_, &TfToolBox::bColorClick);
  }
  filter_ = new TfFilter(this);
  jpgComp_ = new TfJPGComp(this, [this](const std::string& text) { ShowMessage(text); });
  texture_ = new TfTexture(editor_, this);
  gif_ = new TfGif(this);
  sizer_ = new TfrmSizer(this, [this](const std::string& text) { ShowMessage(text); });
  print_ = new TfPrint(this, [this](const std::string& text) { ShowMessage(text); });
  CreateGradientCommands();
  // Test Tiles stands alone: the main window is disabled and hidden while it shows.
  tester_ = new TfTester(editor_.WorkSurface);
  connect(tester_, &TfTester::Hidden, this, [this] {
    setEnabled(true);
    show();
  });

  // The settings and the log live beside the program (or where the user's settings go).
  const QString dataDir =
      QFile::decodeName(DataDirectory(LocalPath(QCoreApplication::applicationDirPath())).c_str());
  settingsPath_ = dataDir + "/" + kSettingsFile;
  editor_.LogPath = LocalPath(dataDir + "/VorqLog.txt");
  // Where the log goes, for whoever wonders.
  const QString logWhere = "Log file: " + QDir::toNativeSeparators(dataDir + "/VorqLog.txt");
  loggingPanel_->setToolTip(logWhere);
  for (const char* name : {"LogthisSession1", "AppendtoLog1", "ViewLog1", "EditLog1"})
    action(name)->setStatusTip(logWhere);

  // The text tool draws through the fonts of this application.
  SetTextRenderer(&DrawTextToolLine);
  text_ = new TfText(this, [this](const std::string& text) { ShowMessage(text); });
  imText = new FloatingText(editor_, imSine, text_, [this](const std::string& text) { ShowMessage(text); });
  connect(imSine, &ImageView::TextToolAt, imText, &FloatingText::Start);
  log_ = new TfLog(this);
  elog_ = new TfELog(this);
  about_ = new TfAbout(this);
  CreatePasteCommands();

  CreateConveniences();
  CreateProgress();
  LoadSettings();
  editor_.RefreshImage();
  editor_.ShowEffect(editor_.EffectId, editor_.EffectName);
  UndoChanged();
  SetDocument(QString());
  creating_ = false;
}

TfVorqTile::~TfVorqTile() {
  // The tool box reads the editor; it must go before the editor does.
  delete toolBox_;
  toolBox_ = nullptr;
  delete tester_;
  tester_ = nullptr;
}

QAction* TfVorqTile::action(const QString& name) const { return findChild<QAction*>(name); }

// ---- construction ----

void TfVorqTile::CreateMenus() {
  QMenuBar* bar = menuBar();

  QMenu* file = Top(bar, "&File", "File1");
  connect(Item(file, "&Open", "Open1"), &QAction::triggered, this, &TfVorqTile::Open1Click);
  connect(Item(file, "&New", "New1"), &QAction::triggered, this, [this] { editor_.New1Click(); });
  connect(Item(file, "&Save As...", "SaveAs1"), &QAction::triggered, this, &TfVorqTile::SaveAs1Click);
  connect(Item(file, "&Print...", "Print1"), &QAction::triggered, this, &TfVorqTile::Print1Click);
  file->addSeparator();
  QMenu* log = Sub(file, "&Log", "Log1");
  connect(Item(log, "Start &New Log", "LogthisSession1"), &QAction::triggered, this,
          [this] { editor_.LogthisSession1Click(); });
  connect(Item(log, "&Close Log", "CloseLog1"), &QAction::triggered, this, [this] { editor_.CloseLog1Click(); });
  connect(Item(log, "&Append to Log", "AppendtoLog1"), &QAction::triggered, this,
          [this] { editor_.AppendtoLog1Click(); });
  log->addSeparator();
  connect(Item(log, "&View Log", "ViewLog1"), &QAction::triggered, this, &TfVorqTile::ViewLog1Click);
  connect(Item(log, "&Edit Log", "EditLog1"), &QAction::triggered, this, &TfVorqTile::EditLog1Click);
  file->addSeparator();
  connect(Item(file, "E&xit", "Exit1"), &QAction::triggered, this, &TfVorqTile::Exit1Click);

  QMenu* edit = Top(bar, "&Edit", "Edit1");
  connect(Item(edit, "UnDo", "UnDo1", "Ctrl+Z"), &QAction::triggered, this, &TfVorqTile::UnDo1Click);
  edit->addSeparator();
  connect(Item(edit, "&Copy", "Copy1", "Ctrl+C"), &QAction::triggered, this, [this] { editor_.Copy1Click(); });
  QMenu* paste = Sub(edit, "&Paste", "Paste1");
  Item(paste, "As &Selection", "AsSelection1");
  connect(Item(paste, "Re&place Image", "ReplaceImage1", "Ctrl+V"), &QAction::triggered, this,
          [this] { editor_.ReplaceImage1Click(); });
  Item(paste, "&Transparent", "Transparent1");
  edit->addSeparator();
  connect(Item(edit, "&Reset", "Reset1"), &QAction::triggered, this, [this] { editor_.Reset1Click(); });

  QMenu* gradient = Top(bar, "&Gradient", "Gradient1");
  Item(gradient, "&Design...", "Design1");
  Item(gradient, "&Paste To Image", "PasteToImage1");
  Item(gradient, "&Merge With Image", "MergeWithImage1");

  QMenu* buffer = Top(bar, "&Buffer", "Buffer1");
  connect(Item(buffer, "&Copy Image to Buffer", "CopyImagetoBuffer1"), &QAction::triggered, this,
          &TfVorqTile::CopyImagetoBuffer1Click);
  // Paste, Merge and Copy to Clipboard wait for the buffer's first image (BufferChanged).
  connect(Item(buffer, "&Paste Buffer to Image", "PasteBuffertoImage1"), &QAction::triggered, this,
          &TfVorqTile::PasteBuffertoImage1Click);
  connect(Item(buffer, "&Merge Buffer With Image...", "MergeBufferWithImage1"), &QAction::triggered, this,
          &TfVorqTile::MergeBufferWithImage1Click);
  connect(Item(buffer, "&Load Buffer from File", "LoadBufferfromFile1"), &QAction::triggered, this,
          &TfVorqTile::LoadBufferfromFile1Click);
  buffer->addSeparator();
  connect(Item(buffer, "Cop&y Buffer to Clipboard", "CopyBuffertoClipboard1"), &QAction::triggered, this,
          &TfVorqTile::CopyBuffertoClipboard1Click);
  connect(Item(buffer, "P&aste Clipboard to Buffer", "PasteClipboardtoBuffer1"), &QAction::triggered, this,
          [this] { editor_.PasteClipboardtoBuffer1Click(); });

  QMenu* image = Top(bar, "&Image", "Image1");
  connect(Item(image, "&Test Tiles", "TestTiles1"), &QAction::triggered, this, &TfVorqTile::TestTiles1Click);
  QMenu* seamless = Sub(image, "&Seamless", "Seamless1");
  QMenu* merge = Sub(seamless, "Edge &Merge", "EdgeMerge1");
  connect(Item(merge, "1/1&6", "N1161"), &QAction::triggered, this, [this] { N1161Click(editor_); });
  connect(Item(merge, "1/&8", "N181"), &QAction::triggered, this, [this] { N181Click(editor_); });
  connect(Item(merge, "1/&4", "N141"), &QAction::triggered, this, [this] { N141Click(editor_); });
  connect(Item(seamless, "4 Way &Flip", "N4WayFlip1"), &QAction::triggered, this,
          [this] { FourWayFlip1Click(editor_); });
  connect(Item(image, "Set As &Wallpaper", "SetAsWallpaper1"), &QAction::triggered, this,
          &TfVorqTile::SetAsWallpaper1Click);

  CreateEffectsMenu(Top(bar, "Effec&ts", "Effects1"));

  QMenu* pen = Top(bar, "Pen", "Pen1");
  penModes_ = new QActionGroup(this);
  penModes_->setExclusive(true);
  for (int i = 0; i < int(kPenModeNames.size()); ++i) {
    const QByteArray name = QByteArray(kPenModeNames[size_t(i)]) + "1";
    QAction* a = Item(pen, kPenModeNames[size_t(i)], name.constData());
    a->setEnabled(true);
    a->setCheckable(true);
    a->setChecked(i == 0);
    penModes_->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { editor_.PenStyle = i; });
  }

  QMenu* options = Top(bar, "&Options", "Options1");
  connect(Item(options, "Set &JPG Compression", "SetJPGCompression2"), &QAction::triggered, this,
          &TfVorqTile::SetJPGCompression2Click);
  QMenu* gif = Sub(options, "&GIF Transparency...", "GIFTransparency1");
  QAction* showGif = Item(gif, "&Show Dialog During Save", "ShowDialogDuringSave1");
  QAction* hideGif = Item(gif, "&Hide Dialog During Save", "HideDialogDuringSave1");
  auto* gifGroup = new QActionGroup(this);
  for (QAction* a : {showGif, hideGif}) {
    a->setCheckable(true);
    a->setEnabled(true);
    gifGroup->addAction(a);
  }
  hideGif->setChecked(true);
  connect(showGif, &QAction::triggered, this, [this] { editor_.GifShowDialog = true; });
  connect(hideGif, &QAction::triggered, this, [this] { editor_.GifShowDialog = false; });
  QMenu* logFile = Sub(options, "&Log File", "LogFile1");
  SaveImagewithLogFileName1 = Item(logFile, "Save Image with Log File Name", "SaveImagewithLogFileName1");
  SaveImagewithLogFileName1->setCheckable(true);
  SaveImagewithLogFileName1->setEnabled(true);
  connect(Item(options, "Change &Undo Quantity", "ChangeUndoQuantity1"), &QAction::triggered, this,
          &TfVorqTile::ChangeUndoQuantity1Click);
  PromptforSaveAtTermination1 = Item(options, "&Prompt for Save At Termination", "PromptforSaveAtTermination1");
  PromptforSaveAtTermination1->setCheckable(true);
  PromptforSaveAtTermination1->setChecked(false);
  PromptforSaveAtTermination1->setEnabled(true);
  connect(Item(options, "Print &Shortcut Key List", "PrintShortcutKeyList1"), &QAction::triggered, this,
          &TfVorqTile::PrintShortcutKeyList1Click);

  QMenu* help = Top(bar, "&Help", "Help1");
  connect(Item(help, "&Contents", "Contents1"), &QAction::triggered, this, &TfVorqTile::Contents1Click);
  connect(Item(help, "&About", "About1"), &QAction::triggered, this, &TfVorqTile::About1Click);

  for (const char* name : {"Open1", "SaveAs1", "Exit1", "UnDo1", "About1", "LogthisSession1", "CloseLog1",
                           "AppendtoLog1", "ViewLog1", "EditLog1", "SetJPGCompression2", "ChangeUndoQuantity1"})
    action(name)->setEnabled(true);
  for (const char* name : {"Print1", "SetAsWallpaper1", "Contents1", "PrintShortcutKeyList1"})
    action(name)->setEnabled(true);
  for (const char* name : {"CopyImagetoBuffer1", "LoadBufferfromFile1", "TestTiles1", "N1161", "N181", "N141",
                           "N4WayFlip1", "New1", "Copy1", "ReplaceImage1", "Reset1", "PasteClipboardtoBuffer1"})
    action(name)->setEnabled(true);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  Item(PopupMenu1, "Color Wheel", "ColorWheel1");
  Item(PopupMenu1, "Multi Gradient...", "MultiGradient1");
  Item(PopupMenu1, "Rainbow", "Rainbow1");
  QAction* resize = Item(PopupMenu1, "Resize...", "Resize1");
  resize->setEnabled(editor_.EffectAvailable(fx::ReSizeSmooth));
  connect(resize, &QAction::triggered, this, [this] {
    editor_.MenuEffect(fx::ReSizeSmooth);
    FollowEffectInTree();
  });
}

void TfVorqTile::CreateEffectsMenu(QMenu* effects) {
  struct Group {
    Category category;
    const char* caption;
    const char* name;
  };
  static constexpr Group kGroups[] = {{Category::Color, "&Color", "Color1"},
                                      {Category::Distortions, "&Distortions", "Distortions1"},
                                      {Category::Draw, "Dra&w", "Draw1"},
                                      {Category::Filters, "&Filters", "Filters1"},
                                      {Category::SizeAspect, "&Size/Aspect", "SizeAspect1"}};
  for (const Group& g : kGroups) {
    QMenu* sub = Sub(effects, g.caption, g.name);
    for (const EffectInfo& e : kCatalogue) {
      if (e.category != g.category) continue;
      QAction* a = Item(sub, e.MenuCaption, e.Component, e.Shortcut);
      a->setEnabled(editor_.EffectAvailable(e.Id));
      const int id = e.Id;
      connect(a, &QAction::triggered, this, [this, id] {
        editor_.MenuEffect(id);
        FollowEffectInTree();
      });
    }
  }
}

void TfVorqTile::CreateToolBar() {
  QToolBar* bar = addToolBar("ToolBar1");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setIconSize(QSize(16, 16));
  bar->toggleViewAction()->setVisible(false);
  setContextMenuPolicy(Qt::NoContextMenu);

  struct Button {
    const char* name;
    Glyph glyph;
    const char* hint;
    void (TfVorqTile::*click)();
    bool separatorAfter;
  };
  const Button buttons[] = {
      {"bOpen", Glyph::Open, "Open a File...", &TfVorqTile::Open1Click, false},
      {"bSave", Glyph::Save, "Save File As...", nullptr, false},
      {"bCopy", Glyph::Copy, "Copy To Clipboard", &TfVorqTile::Copy1Click, false},
      {"bPaste", Glyph::Paste, "Paste From Clipboard", &TfVorqTile::ReplaceImage1Click, true},
      {"bTools", Glyph::Tools, "Show/Hide Toolbox", &TfVorqTile::bToolsClick, false},
      {"bColor", Glyph::ColorSliders, "Show/Hide Color Sliders on Toolbox", nullptr, true},
      {"bGo", Glyph::Apply, "Apply Current Effect", &TfVorqTile::bGoClick, false},
      {"bUndo", Glyph::Undo, "UnDo ", &TfVorqTile::bUndoClick, true},
      {"bPrint", Glyph::Print, "Print...", &TfVorqTile::Print1Click, true},
      {"bPasteGrad", Glyph::PasteGradient, "Paste Gradient to Image", nullptr, false},
      {"bCopyBuf", Glyph::CopyToBuffer, "Copy Image to Buffer", &TfVorqTile::CopyImagetoBuffer1Click, false},
      {"bPasteBuf", Glyph::PasteBuffer, "Paste Buffer to Image", &TfVorqTile::PasteBuffertoImage1Click, false},
      {"bTestTiles", Glyph::TestTiles, "Test Tiles", &TfVorqTile::TestTiles1Click, false},
  };
  for (const Button& b : buttons) {
    auto* button = new QToolButton(bar);
    button->setObjectName(b.name);
    button->setIcon(GlyphIcon(b.glyph));
    button->setToolTip(b.hint);
    button->setAutoRaise(true);
    if (b.click) {
      connect(button, &QToolButton::clicked, this, b.click);
    } else {
      button->setEnabled(false);
    }
    bar->addWidget(button);
    if (b.separatorAfter) bar->addSeparator();
  }
  // Save As returns whether it saved, so it cannot sit in the table above.
  auto* save = bar->findChild<QToolButton*>("bSave");
  save->setEnabled(true);
  connect(save, &QToolButton::clicked, this, [this] { SaveAs1Click(); });
  auto* go = bar->findChild<QToolButton*>("bGo");
  go->setText("Apply");
  go->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bUndo = bar->findChild<QToolButton*>("bUndo");
  // Like its menu item, Paste Buffer waits for the buffer's first image.
  bar->findChild<QToolButton*>("bPasteBuf")->setEnabled(false);
}

void TfVorqTile::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("stBar");
  // The panels have fixed pixel widths; a small font keeps their texts whole.
  QFont small = bar->font();
  small.setPixelSize(11);
  bar->setFont(small);
  bar->setSizeGripEnabled(false);
  for (int i = 0; i < kStatusPanelCount; ++i) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString("stBarPanel%1").arg(i));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setFixedWidth(kPanelWidths[i]);
    label->setTextFormat(Qt::PlainText);
    if (i == kPanelEffect) {
      // The message panel gives way first when the window is narrow, so that
      // the zoom and seam panels on the right stay whole at the first size.
      label->setMinimumWidth(60);
      label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    bar->addWidget(label, i == kPanelEffect ? 1 : 0);
    panels_[size_t(i)] = label;
  }
  loggingPanel_ = new LoggingPanel([this] { return editor_.Log.Logging(); }, bar);
  loggingPanel_->setObjectName("stBarPanel5");
  loggingPanel_->setMinimumWidth(QFontMetrics(small).horizontalAdvance("Not Logging") + 12);
  loggingPanel_->setMinimumHeight(QFontMetrics(small).height() + 6);
  // The last panel takes what is left of the bar, as wide panels are clipped otherwise.
  bar->addWidget(loggingPanel_, 1);
}

QWidget* TfVorqTile::CreateLeftPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("pnlLeft");
  panel->setFixedWidth(185);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(4, 0, 4, 4);
  column->setSpacing(4);

  auto* top = new QWidget(panel);
  top->setFixedHeight(112);
  // Thumbnails show their picture stretched to 65 x 65 inside a one-pixel frame.
  auto thumb = [top](const char* name, const char* caption, int left) {
    auto* image = new QLabel(top);
    image->setObjectName(name);
    image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    image->setLineWidth(1);
    image->setGeometry(left + 6, 2, kThumbSide + 2, kThumbSide + 2);
    auto* label = new QLabel(caption, top);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(left, 71, 80, 16);
    return std::pair{image, label};
  };
  std::tie(imGrad, lblGrad) = thumb("imGrad", "Gradient", 4);
  QLabel* bufferCaption = nullptr;
  std::tie(imBuffer, bufferCaption) = thumb("imBuffer", "Buffer", 93);
  bufferCaption->setObjectName("Lbl3D2");
  imBuffer->setToolTip("Current Buffer Image (Dbl-Click to Paste into Image)");
  imBuffer->installEventFilter(this);
  auto* caption = new QLabel("Thumbnail Previews", top);
  caption->setObjectName("lblThumbs");
  caption->setFrameStyle(QFrame::Panel | QFrame::Raised);
  caption->setGeometry(0, 91, 153, 18);
  caption->setAlignment(Qt::AlignCenter);
  bExpand = new QToolButton(top);
  bExpand->setObjectName("bExpand");
  bExpand->setText("E");
  bExpand->setToolTip("Expand/Collapse Tree branches");
  bExpand->setAutoRaise(true);
  bExpand->setGeometry(155, 91, 19, 18);
  connect(bExpand, &QToolButton::clicked, this, &TfVorqTile::bExpandClick);
  column->addWidget(top);

  TreeView1 = new QTreeWidget(panel);
  TreeView1->setObjectName("TreeView1");
  TreeView1->setHeaderHidden(true);
  TreeView1->setColumnCount(1);
  TreeView1->setIndentation(19);
  TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeView1->setExpandsOnDoubleClick(true);
  FillTree();
  connect(TreeView1, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem*) { TreeView1Change(current); });
  connect(TreeView1, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item, int) { TreeView1DblClick(item); });
  TreeView1->installEventFilter(this);
  TreeView1->viewport()->installEventFilter(this);
  column->addWidget(TreeView1, 1);
  return panel;
}

void TfVorqTile::FillTree() {
  // Category nodes and their leaves in alphabetical order, as a sorted tree shows them.
  auto byText = [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; };
  std::vector<QString> categories;
  for (int c = 0; c < kCategoryCount; ++c) categories.push_back(CategoryName(Category(c)));
  std::sort(categories.begin(), categories.end(), byText);
  for (const QString& name : categories) {
    auto* node = new QTreeWidgetItem(TreeView1, QStringList{name});
    std::vector<QString> leaves;
    for (const EffectInfo& e : kCatalogue)
      if (name == CategoryName(e.category)) leaves.push_back(e.CatalogueName);
    std::sort(leaves.begin(), leaves.end(), byText);
    for (const QString& leaf : leaves) new QTreeWidgetItem(node, QStringList{leaf});
  }
  TreeView1->collapseAll();
}

// ---- showing and closing ----

void TfVorqTile::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (ToolBoxShown) toolBox_->show();
  if (!firstShown_) {
    firstShown_ = true;
    // Runs once the window is on screen.
    QTimer::singleShot(0, this, &TfVorqTile::FirstShow);
  }
}

void TfVorqTile::hideEvent(QHideEvent* event) {
  if (toolBox_ && toolBox_->isVisible()) {
    ToolBoxShown = true;
    toolBox_->hide();
  }
  QMainWindow::hideEvent(event);
}

void TfVorqTile::FirstShow() {
  ProcessMessages();
  // What the settings file had to say, now that there is a window to say it over.
  const QStringList pending = std::exchange(pendingMessages_, {});
  for (const QString& text : pending) ShowMessage(text.toStdString());
  StartGradient();
  ToolBoxShown = true;
  toolBox_->show();
  if (!startImage_.isEmpty() && editor_.LoadStartImage(LocalPath(startImage_))) SetDocument(startImage_);
  if (conveniences_.DockToolBox) SetToolBoxDocked(true);
  emit FirstShown();
}

bool TfVorqTile::ConfirmClose() {
  // An image that has not changed since it was opened or saved has nothing to ask about.
  if (!PromptforSaveAtTermination1->isChecked() || !document_.Modified()) return true;
  switch (Ask(kSavePrompt, true)) {
    case Answer::Yes: return SaveAs1Click();
    case Answer::No: return true;
    case Answer::Cancel: break;
  }
  return false;
}

void TfVorqTile::closeEvent(QCloseEvent* event) {
  if (editor_.Running()) {  // the effect's pixels are still changing: stop it first
    editor_.SetStatus(kPanelEffect, kEffectRunning);
    event->ignore();
    return;
  }
  if (!ConfirmClose()) {
    event->ignore();
    return;
  }
  editor_.EndPreview();  // values typed for a preview were never applied
  // A settings file that cannot be written costs the settings, never the way out.
  SaveSettings();
  event->accept();
}

// ---- settings ----

void TfVorqTile::LoadSettings() {
  IniFile ini;
  if (QFileInfo::exists(settingsPath_)) {
    std::string text, error;
    if (ReadTextFile(LocalPath(settingsPath_), text, error))
      ini = IniFile::Parse(text);
    else
      pendingMessages_ << Q("The settings could not be read, so the program starts with its defaults.\r\r" + error);
  }
  WindowSettings w;
  w.DefaultDirectory = LocalPath(QCoreApplication::applicationDirPath());
  std::string warning;
  LoadEditorSettings(editor_, ini, &w, &warning);
  if (!warning.empty()) pendingMessages_ << Q(warning);

  move(w.Left, w.Top);
  resize(w.Width, w.Height);
  editor_.PenStyle = w.PenStyle;
  if (w.PenStyle >= 0 && w.PenStyle < int(penModes_->actions().size()))
    penModes_->actions()[w.PenStyle]->setChecked(true);
  defaultDirectory_ = QFile::decodeName(w.DefaultDirectory.c_str());
  PromptforSaveAtTermination1->setChecked(w.SaveDlg);
  SaveImagewithLogFileName1->setChecked(w.SaveWithLog);
  if (w.Status == 2)
    setWindowState(windowState() | Qt::WindowMinimized);
  else if (w.Status == 3)
    setWindowState(windowState() | Qt::WindowMaximized);
  toolBox_->move(w.ToolBoxLeft, w.ToolBoxTop);
  jpgComp_->SetText(Q(w.JPGComp));
  LoadConveniences(ini);
}

bool TfVorqTile::SaveSettings() {
  WindowSettings w;
  const Qt::WindowStates state = windowState();
  const bool normal = !(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
  w.Top = pos().y();
  w.Left = pos().x();
  w.Width = width();
  w.Height = height();
  w.Status = (state & Qt::WindowMinimized) ? 2 : (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? 3 : 1;
  w.PenStyle = 0;
  const QList<QAction*> pens = penModes_->actions();
  for (int i = 0; i < int(pens.size()); ++i)
    if (pens[i]->isChecked()) w.PenStyle = i;
  w.DefaultDirectory = LocalPath(defaultDirectory_);
  w.SaveDlg = PromptforSaveAtTermination1->isChecked();
  w.SaveWithLog = SaveImagewithLogFileName1->isChecked();
  w.JPGComp = jpgComp_->Text().toStdString();
  w.ToolBoxTop = toolBox_->pos().y();
  w.ToolBoxLeft = toolBox_->pos().x();

  // Keys this program does not know stay as they were.
  IniFile ini;
  std::string text, error;
  if (QFileInfo::exists(settingsPath_) && ReadTextFile(LocalPath(settingsPath_), text, error))
    ini = IniFile::Parse(text);
  SaveEditorSettings(editor_, w, normal, ini);
  WriteConveniences(conveniences_, ini);
  if (WriteFileAtomic(LocalPath(settingsPath_), ini.ToText(), error)) return true;
  ShowMessage("The settings could not be saved; this session's settings will not be there next time.\r\r" +
              error);
  return false;
}

void TfVorqTile::Exit1Click() { close(); }

// ---- commands ----

QString TfVorqTile::ChooseFile(bool forSave, bool inDefaultDirectory) {
  if (fileChooser_) return fileChooser_(forSave);
  const QString folder = inDefaultDirectory ? defaultDirectory_ : QString();
  if (forSave)
    return QFileDialog::getSaveFileName(
        this, "Save File As...", savePreset_.isEmpty() ? folder : QDir(folder).filePath(savePreset_), kSaveFilter);
  return QFileDialog::getOpenFileName(this, "Open", folder, kOpenFilter);
}

void TfVorqTile::Open1Click() {
  const QString path = ChooseFile(false);
  if (!path.isEmpty()) OpenImageFile(path);
}

bool TfVorqTile::SaveAs1Click() { return SaveImageAs({}); }

bool TfVorqTile::SaveImageAs(const QString& presetName) {
  savePreset_ = presetName;
  QString path = ChooseFile(true);
  if (path.isEmpty()) return false;
  defaultDirectory_ = QFileInfo(path).absolutePath();
  const std::string written = editor_.SaveImage(LocalPath(path));
  if (written.empty()) return false;
  SetDocument(QFile::decodeName(written.c_str()));
  AddRecent(QFile::decodeName(written.c_str()));
  return true;
}

void TfVorqTile::SetDocument(const QString& path) {
  document_.SetClean(editor_.WorkSurface, path);
  setWindowTitle(document_.Title());
  setWindowModified(false);
}

// ---- printing, wallpaper, help ----

void TfVorqTile::Print1Click() { print_->Print1Click(editor_.WorkSurface); }

void TfVorqTile::SetAsWallpaper1Click() {
  SetBusy(true);
  const QString problem = SetAsWallpaper(editor_.WorkSurface);
  SetBusy(false);
  if (!problem.isEmpty()) ShowMessage(problem.toStdString());
}

void TfVorqTile::Contents1Click() {
  const QString problem = OpenHelpContents();
  if (!problem.isEmpty()) ShowMessage(problem.toStdString());
}

void TfVorqTile::PrintShortcutKeyList1Click() {
  const QString problem = PreviewShortcutList(this, conveniences_.StandardShortcuts);
  if (!problem.isEmpty()) ShowMessage(problem.toStdString());
}

// ---- buffer ----

namespace {

// A surface's pixels as an image, without a copy; valid while the surface is unchanged.
QImage Wrap(const TFastDIB& s) {
  if (s.Empty()) return {};
  return QImage(s.Bits, s.Width(), s.Height(), int(s.BytesPerRow), QImage::Format_BGR888);
}

}  // namespace

void TfVorqTile::LoadBufferfromFile1Click() {
  // Loading into the buffer neither starts in nor changes Default Directory.
  const QString path = ChooseFile(false, false);
  if (path.isEmpty()) return;
  editor_.LoadBufferFromFile(LocalPath(path));
}

void TfVorqTile::CopyImagetoBuffer1Click() { editor_.CopyImagetoBuffer1Click(); }

void TfVorqTile::PasteBuffertoImage1Click() { editor_.PasteBuffertoImage1Click(); }

void TfVorqTile::MergeBufferWithImage1Click() {
  if (editor_.BufferFilled && editor_.EffectAvailable(fx::MergeBuffer)) editor_.MenuEffect(fx::MergeBuffer);
}

void TfVorqTile::CopyBuffertoClipboard1Click() {
  if (editor_.BufferFilled) editor_.CopyBuffertoClipboard1Click();
}

void TfVorqTile::Copy1Click() { editor_.Copy1Click(); }
void TfVorqTile::ReplaceImage1Click() { editor_.ReplaceImage1Click(); }

void TfVorqTile::SetClipboardImage(const TFastDIB& image) {
  // The clipboard keeps its own copy; the wrapped bytes belong to the surface.
  QGuiApplication::clipboard()->setImage(Wrap(image).convertToFormat(QImage::Format_RGB32));
}

bool TfVorqTile::ClipboardImage(TFastDIB& image) {
  const QImage img = QGuiApplication::clipboard()->image();
  if (img.isNull() || !SizeAllowed(img.width(), img.height())) return false;
  // Pictures with alpha are laid over white, as a 24-bit image shows them.
  QImage over(img.size(), QImage::Format_BGR888);
  over.fill(Qt::white);
  {
    QPainter p(&over);
    p.drawImage(0, 0, img);
  }
  if (!image.SetSize(over.width(), over.height(), 24, 0)) return false;
  for (int y = 0; y < over.height(); ++y) std::memcpy(image.Row(y), over.constScanLine(y), size_t(over.width()) * 3);
  return true;
}

void TfVorqTile::imBufferDblClick() {
  if (action("PasteBuffertoImage1")->isEnabled()) PasteBuffertoImage1Click();
}

// ---- Test Tiles ----

void TfVorqTile::TestTiles1Click() {
  tester_->showMaximized();
  tester_->raise();
  tester_->activateWindow();
  // Hiding takes the tool box along; showing again (when the tester hides) brings it back.
  setEnabled(false);
  hide();
}

void TfVorqTile::UnDo1Click() { editor_.bUndoClick(); }
void TfVorqTile::bUndoClick() { editor_.bUndoClick(); }

void TfVorqTile::About1Click() { about_->exec(); }

// ---- log windows ----

void TfVorqTile::ViewLog1Click() {
  if (!QFileInfo::exists(QFile::decodeName(editor_.LogPath.c_str()))) {
    ShowMessage("Log File Not Found in Current Directory");
    return;
  }
  toolBox_->hide();
  log_->show();
  log_->raise();
  log_->activateWindow();
}

void TfVorqTile::EditLog1Click() {
  if (!QFileInfo::exists(QFile::decodeName(editor_.LogPath.c_str()))) {
    ShowMessage("Log File Not Found in Current Directory");
    return;
  }
  if (editor_.Log.Logging()) {
    if (Ask("This will Close the Log. OK?", false) != Answer::Yes) return;
    editor_.Log.Close();
    LoggingChanged();
  }
  elog_->exec();
}

void TfVorqTile::bToolsClick() {
  if (conveniences_.DockToolBox && toolDock_) {
    toolDock_->setVisible(!toolDock_->isVisible());
    ToolBoxShown = toolDock_->isVisible();
    return;
  }
  toolBox_->setVisible(!toolBox_->isVisible());
  ToolBoxShown = toolBox_->isVisible();
}

void TfVorqTile::bGoClick() {
  toolBox_->StoreBoxes();
  editor_.bGoClick();
}

void TfVorqTile::SetJPGCompression2Click() {
  int quality = editor_.JpegQuality;
  if (jpgComp_->Edit(quality)) editor_.JpegQuality = quality;
}

void TfVorqTile::ChangeUndoQuantity1Click() {
  editor_.ChangeUndoQuantity1Click();
  UndoChanged();
}

int TfVorqTile::AskGifTransparency(const GifPalette& palette, int& index) {
  return gif_->Ask(palette.Colours, palette.Count, index);
}

void TfVorqTile::bExpandClick() {
  if (bExpand->text() == "E") {
    TreeView1->expandAll();
    bExpand->setText("C");
  } else {
    TreeView1->collapseAll();
    bExpand->setText("E");
  }
}

void TfVorqTile::TreeView1Change(QTreeWidgetItem* current) {
  if (current) editor_.TreeView1Change(current->text(0).toStdString());
}

void TfVorqTile::TreeView1DblClick(QTreeWidgetItem* item) {
  if (!item) return;
  toolBox_->StoreBoxes();
  editor_.TreeView1DblClick(item->text(0).toStdString());
}

void TfVorqTile::imSineMouseMove(int x, int y) {
  editor_.Status[kPanelX] = "X: " + std::to_string(x);
  editor_.SetStatus(kPanelY, "Y: " + std::to_string(y));
}

bool TfVorqTile::eventFilter(QObject* watched, QEvent* event) {
  if (DropEvent(watched, event)) return true;
  if (watched == imBuffer) {
    if (event->type() == QEvent::MouseButtonDblClick) imBufferDblClick();
  } else if (watched == imGrad) {
    if (event->type() == QEvent::MouseButtonDblClick) imGradDblClick();
  } else if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      bGoClick();
      return true;
    }
  } else if (TreeView1 && watched == TreeView1->viewport() && event->type() == QEvent::MouseButtonPress) {
    // A click on the node that is already selected re-synchronises the tool box.
    const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
    QTreeWidgetItem* item = TreeView1->itemAt(pos);
    if (item && item == TreeView1->currentItem()) TreeView1Change(item);
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- UiPort ----

void TfVorqTile::ShowMessage(const std::string& text) {
  if (creating_) {
    pendingMessages_ << Q(text);
    return;
  }
  if (messageSink_) {
    messageSink_(Q(text));
    return;
  }
  QMessageBox::information(this, QApplication::applicationName(), ForDisplay(text));
}

UiPort::Answer TfVorqTile::Ask(const std::string& text, bool withCancel) {
  if (askHandler_) return askHandler_(Q(text), withCancel);
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  const auto answer = QMessageBox::question(this, QApplication::applicationName(), ForDisplay(text), buttons,
                                            QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return Answer::Yes;
  if (answer == QMessageBox::No) return Answer::No;
  return withCancel ? Answer::Cancel : Answer::No;
}

std::optional<std::string> TfVorqTile::InputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& value) {
  bool ok = false;
  const QString text = QInputDialog::getText(this, Q(caption), ForDisplay(prompt), QLineEdit::Normal, Q(value), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

bool TfVorqTile::EditFilter(FilterBoxes& boxes) { return filter_->Edit(boxes); }

bool TfVorqTile::EditSize(SizerState& state) { return sizer_->Edit(state); }

bool TfVorqTile::ChooseTexture() { return texture_->Choose(); }

bool TfVorqTile::ChooseColor(uint32_t& colour) {
  if (colorChooser_) return colorChooser_(colour);
  const QColor chosen = QColorDialog::getColor(FromColorRef(colour), QApplication::activeWindow());
  if (!chosen.isValid()) return false;
  colour = ToColorRef(chosen);
  return true;
}

void TfVorqTile::ImageChanged() {
  if (imSine) imSine->SurfaceChanged();
  if (canvas_) canvas_->SurfaceChanged();
}

void TfVorqTile::ToolBoxChanged() {
  if (QThread::currentThread() != thread()) {  // an effect on the worker: show it from the window's thread
    QMetaObject::invokeMethod(this, [this] { ToolBoxChanged(); }, Qt::QueuedConnection);
    return;
  }
  if (toolBox_) toolBox_->ShowEffect();
}

void TfVorqTile::StatusChanged() {
  for (int i = 0; i < kStatusPanelCount; ++i) panels_[size_t(i)]->setText(Q(editor_.Status[size_t(i)]));
}

// Shown over the panels for a few seconds.
void TfVorqTile::Notice(const std::string& text) { statusBar()->showMessage(Q(text), 5000); }

void TfVorqTile::UndoChanged() {
  if (bUndo) bUndo->setEnabled(!editor_.Undo.Empty());
  document_.UndoChanged(editor_.Undo, editor_.WorkSurface);
  setWindowModified(document_.Modified());
}

void TfVorqTile::LoggingChanged() { loggingPanel_->update(); }

void TfVorqTile::SetBusy(bool busy) {
  if (busy) {
    ++busy_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busy_ > 0) {
    --busy_;
    QApplication::restoreOverrideCursor();
  }
}

void TfVorqTile::ProcessMessages() { QCoreApplication::processEvents(); }

void TfVorqTile::BufferChanged() {
  const QImage buffer = Wrap(editor_.BufferSurface);
  if (buffer.isNull())
    imBuffer->clear();
  else
    imBuffer->setPixmap(QPixmap::fromImage(
        buffer.scaled(kThumbSide, kThumbSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  if (!editor_.BufferFilled) return;
  action("PasteBuffertoImage1")->setEnabled(true);
  action("MergeBufferWithImage1")->setEnabled(editor_.EffectAvailable(fx::MergeBuffer));
  action("CopyBuffertoClipboard1")->setEnabled(true);
  findChild<QToolButton*>("bPasteBuf")->setEnabled(true);
  findChild<QLabel*>("Lbl3D2")->setEnabled(true);  // raised from now on
}

}  // namespace vorq::gui
