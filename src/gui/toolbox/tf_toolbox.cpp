#include "gui/toolbox/tf_toolbox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "gui/mainwin/color_ref.h"
#include "gui/mainwin/glyphs.h"

namespace vorq::gui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QIcon Swatch(uint32_t colour) {
  QPixmap pm(12, 12);
  pm.fill(FromColorRef(colour));
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(0, 0, 11, 11);
  return QIcon(pm);
}

QToolButton* GlyphButton(QWidget* parent, const char* name, Glyph glyph, const char* hint, QRect geometry) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(GlyphIcon(glyph));
  b->setToolTip(hint);
  b->setGeometry(geometry);
  return b;
}

}  // namespace

// A tool window owned by the main window, so it stays above it, with a
// system menu and a minimise box of its own.
TfToolBox::TfToolBox(Editor& editor, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      editor_(editor) {
  setObjectName("fToolBox");
  setWindowTitle("Tool Box");
  // Every control sits at a fixed pixel place, so the font must not outgrow them.
  QFont f = font();
  f.setPixelSize(11);
  setFont(f);
  resize(191, 272);
  setMinimumHeight(270);
  move(3, 1);
  CreatePaintingControls();
  CreateParameterPanel();
  ShowEffect();
}

void TfToolBox::CreatePaintingControls() {
  bPen = new QPushButton("Pen Color", this);
  bPen->setObjectName("bPen");
  bPen->setGeometry(4, 3, 88, 22);
  connect(bPen, &QPushButton::clicked, this, [this] { ChooseColor(true); });
  bBrush = new QPushButton("Brush Color", this);
  bBrush->setObjectName("bBrush");
  bBrush->setGeometry(96, 3, 88, 22);
  connect(bBrush, &QPushButton::clicked, this, [this] { ChooseColor(false); });

  // The painting tools are not wired to the image yet.
  struct Tool {
    const char* name;
    Glyph glyph;
    const char* hint;
  };
  const Tool tools[] = {{"bFree", Glyph::Free, "Freehand draw"},
                        {"bEllip", Glyph::Ellipse, "Draw Ellipse"},
                        {"bRect", Glyph::Rect, "Draw Rectangle"},
                        {"bLine", Glyph::Line, "Draw a Line using current Pen Mode"},
                        {"bFill", Glyph::Fill, "Flood Fill an area with Brush Color"},
                        {"bText", Glyph::Text, "Invoke Text Designer..."},
                        {"bSelect", Glyph::Select, "Select an area of the Image..."},
                        {"bEyeDrop", Glyph::EyeDrop, "Set Pen Color to color under cursor"}};
  int left = 5;
  for (const Tool& t : tools) {
    QToolButton* b = GlyphButton(this, t.name, t.glyph, t.hint, QRect(left, 27, 22, 22));
    b->setCheckable(true);
    b->setChecked(left == 5);
    b->setEnabled(false);
    left += 22;
  }

  ePenSize = new QLineEdit(this);
  ePenSize->setObjectName("ePenSize");
  ePenSize->setToolTip("Set Width of Pen");
  ePenSize->setGeometry(5, 51, 33, 19);
  connect(ePenSize, &QLineEdit::textEdited, this,
          [this](const QString& text) { editor_.ToolBox.PenSize = text.toStdString(); });
  auto* penSize = new QLabel("Pen Size", this);
  penSize->setGeometry(42, 53, 50, 15);
  auto* cFill = new QCheckBox("Fill Shape", this);
  cFill->setObjectName("cFill");
  cFill->setToolTip("Fill Ellipses and rectangles with brush color");
  cFill->setChecked(true);
  cFill->setEnabled(false);
  cFill->setGeometry(100, 52, 85, 17);
}

void TfToolBox::CreateParameterPanel() {
  lblEffect = new QLabel(this);
  lblEffect->setObjectName("lblEffect");
  lblEffect->setToolTip("Currently selected effect");
  lblEffect->setFrameStyle(QFrame::Panel | QFrame::Raised);
  lblEffect->setAlignment(Qt::AlignCenter);
  QFont bold = font();
  bold.setBold(true);
  lblEffect->setFont(bold);
  lblEffect->setGeometry(4, 73, 183, 20);

  struct Field {
    const char* edit;
    const char* label;
    QRect editRect;
    QPoint labelAt;
  };
  const Field fields[kEditBoxCount] = {{"eAmtMain", "lblMain", {8, 104, 33, 21}, {48, 109}},
                                       {"eAmtSecond", "lblSecond", {8, 127, 33, 17}, {48, 128}},
                                       {"ePeaks2", "lblPeaks2", {8, 146, 33, 17}, {48, 149}},
                                       {"eHeight2", "lblHeight2", {8, 165, 33, 17}, {48, 168}},
                                       {"eYPos", "lYPos", {80, 165, 33, 21}, {120, 168}}};
  for (int i = 0; i < kEditBoxCount; ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(fields[i].edit);
    edit->setGeometry(fields[i].editRect);
    edit->setTextMargins(0, 0, 0, 0);
    auto* label = new QLabel(this);
    label->setObjectName(fields[i].label);
    label->setGeometry(QRect(fields[i].labelAt, QSize(i == 4 ? 60 : 105, 14)));
    edits_[size_t(i)] = edit;
    labels_[size_t(i)] = label;
  }

  ckbxPeaks = new QCheckBox("Use Peaks", this);
  ckbxPeaks->setObjectName("ckbxPeaks");
  ckbxPeaks->setGeometry(56, 146, 90, 17);
  connect(ckbxPeaks, &QCheckBox::clicked, this, [this](bool checked) {
    StoreBoxes();
    editor_.ckbxPeaksClick(checked);
  });
  ckbxWrap = new QCheckBox("Wrap", this);
  ckbxWrap->setObjectName("ckbxWrap");
  ckbxWrap->setGeometry(5, 146, 50, 17);
  connect(ckbxWrap, &QCheckBox::clicked, this, [this](bool checked) { editor_.ToolBox.WrapChecked = checked; });
  cbBump = new QCheckBox(this);
  cbBump->setObjectName("cbBump");
  cbBump->setGeometry(8, 168, 140, 17);
  connect(cbBump, &QCheckBox::clicked, this, [this](bool checked) { editor_.ToolBox.BumpChecked = checked; });

  sbLR = new QScrollBar(Qt::Horizontal, this);
  sbLR->setObjectName("sbLR");
  sbLR->setGeometry(44, 146, 105, 16);
  sbLR->setPageStep(16);
  connect(sbLR, &QScrollBar::valueChanged, this, &TfToolBox::sbLRScroll);
  sbUD = new QScrollBar(Qt::Vertical, this);
  sbUD->setObjectName("sbUD");
  sbUD->setGeometry(156, 106, 16, 105);
  sbUD->setPageStep(16);
  connect(sbUD, &QScrollBar::valueChanged, this, &TfToolBox::sbUDScroll);

  lblBtn = new QLabel("Uses Brush color for HiLite and PenColor for Shadow", this);
  lblBtn->setObjectName("lblBtn");
  lblBtn->setAlignment(Qt::AlignCenter);
  lblBtn->setWordWrap(true);
  lblBtn->setGeometry(16, 128, 112, 39);

  lblHelp = new QLabel(this);
  lblHelp->setObjectName("lblHelp");
  lblHelp->setGeometry(8, 224, 148, 15);
  QPalette help = lblHelp->palette();
  help.setColor(QPalette::WindowText, FromColorRef(0x00FF0080));
  lblHelp->setPalette(help);

  btnDefault = new QToolButton(this);
  btnDefault->setObjectName("btnDefault");
  btnDefault->setText("D");
  btnDefault->setToolTip("Reset to Default");
  btnDefault->setAutoRaise(true);
  btnDefault->setGeometry(157, 223, 17, 16);
  connect(btnDefault, &QToolButton::clicked, this, [this] { editor_.btnDefaultClick(); });

  bGo2 = GlyphButton(this, "bGo2", Glyph::Apply, "Apply Current effect", QRect(9, 192, 32, 25));
  connect(bGo2, &QToolButton::clicked, this, &TfToolBox::ApplyRequested);
  SpeedButton1 = GlyphButton(this, "SpeedButton1", Glyph::Undo, "UnDo", QRect(48, 192, 25, 25));
  connect(SpeedButton1, &QToolButton::clicked, this, &TfToolBox::UndoRequested);
  bCols2 = GlyphButton(this, "bCols2", Glyph::ColorSliders, "Show/Hide Color Sliders on Toolbox",
                       QRect(80, 192, 25, 25));
  bCols2->setEnabled(false);  // the colour sliders are not built yet
}

void TfToolBox::ShowEffect() {
  syncing_ = true;
  ToolBoxPanel& t = editor_.ToolBox;
  lblEffect->setText(Q(t.Title));
  lblHelp->setText(Q(t.Help));
  lblHelp->show();
  for (size_t i = 0; i < kEditBoxCount; ++i) {
    edits_[i]->setText(Q(t.Boxes[i].Text));
    edits_[i]->setCursorPosition(0);
    labels_[i]->setText(Q(t.Boxes[i].Label));
    edits_[i]->setVisible(t.Boxes[i].Visible);
    labels_[i]->setVisible(t.Boxes[i].Visible);
  }
  ckbxPeaks->setChecked(t.PeaksChecked);
  ckbxPeaks->setVisible(t.PeaksVisible);
  ckbxWrap->setChecked(t.WrapChecked);
  ckbxWrap->setVisible(t.WrapVisible);
  cbBump->setText(Q(t.BumpCaption));
  cbBump->setChecked(t.BumpChecked);
  cbBump->setVisible(t.BumpVisible);
  lblBtn->setVisible(t.NoteVisible);
  // The ranges follow the image; a position outside them is pulled in, as the bars do.
  sbLR->setRange(t.ScrollLRMin, t.ScrollLRMax);
  sbUD->setRange(t.ScrollUDMin, t.ScrollUDMax);
  sbLR->setValue(t.ScrollLRPos);
  sbUD->setValue(t.ScrollUDPos);
  t.ScrollLRPos = sbLR->value();
  t.ScrollUDPos = sbUD->value();
  sbLR->setVisible(t.ScrollVisible);
  sbUD->setVisible(t.ScrollVisible);
  btnDefault->setVisible(t.DefaultVisible);
  ePenSize->setText(Q(t.PenSize));
  ShowColors();
  syncing_ = false;
}

void TfToolBox::StoreBoxes() {
  ToolBoxPanel& t = editor_.ToolBox;
  for (size_t i = 0; i < kEditBoxCount; ++i) t.Boxes[i].Text = edits_[i]->text().toStdString();
  t.PeaksChecked = ckbxPeaks->isChecked();
  t.WrapChecked = ckbxWrap->isChecked();
  t.BumpChecked = cbBump->isChecked();
  t.PenSize = ePenSize->text().toStdString();
}

void TfToolBox::ShowColors() {
  bPen->setIcon(Swatch(editor_.ToolBox.PenColor));
  bBrush->setIcon(Swatch(editor_.ToolBox.BrushColor));
}

void TfToolBox::ChooseColor(bool pen) {
  uint32_t& colour = pen ? editor_.ToolBox.PenColor : editor_.ToolBox.BrushColor;
  if (editor_.Ui().ChooseColor(colour)) ShowColors();
}

// The editor reads the amount from the box, so the typing goes over first.
void TfToolBox::sbLRScroll(int position) {
  if (syncing_) return;
  StoreBoxes();
  editor_.sbLRScroll(position);
}

void TfToolBox::sbUDScroll(int position) {
  if (syncing_) return;
  StoreBoxes();
  editor_.sbUDScroll(position);
}

void TfToolBox::closeEvent(QCloseEvent* event) {
  emit Closed();
  event->accept();
}

void TfToolBox::showEvent(QShowEvent* event) {
  if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
  QWidget::showEvent(event);
}

}  // namespace vorq::gui
