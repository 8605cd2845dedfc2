#include "gui/toolbox/tf_toolbox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include "editor/preview.h"
#include "gui/toolbox/live_preview.h"
#include "gui/widgets/color_ref.h"
#include "gui/widgets/glyphs.h"
#include "gui/mainwin/image_view.h"

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

// The tick of OK and the cross of Cancel.
QIcon Mark(bool ok) {
  QPixmap pm(14, 14);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (ok) {
    p.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2, 7.5), QPointF(5.5, 11), QPointF(12, 3)}));
  } else {
    p.setPen(QPen(QColor(192, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 3), QPointF(11, 11));
    p.drawLine(QPointF(11, 3), QPointF(3, 11));
  }
  return QIcon(pm);
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
  CreateColorSliders();
  CreateLivePreview();
  ShowEffect();
}

void TfToolBox::CreateLivePreview() {
  // The colour sliders would preview on pixels still changing.
  live_ = new LivePreview(editor_, this, pnlColors, [this] { StoreBoxes(); });
  cbPreview = new QCheckBox("Preview", this);
  cbPreview->setObjectName("cbPreview");
  cbPreview->setToolTip("Show the effect with the values typed, before Apply");
  cbPreview->setGeometry(112, 196, 72, 17);
  connect(cbPreview, &QCheckBox::toggled, live_, &LivePreview::SetOn);
  for (QLineEdit* edit : edits_) connect(edit, &QLineEdit::textEdited, live_, &LivePreview::Edited);
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{ckbxPeaks, ckbxWrap, cbBump, btnDefault, bPen, bBrush})
    connect(b, &QAbstractButton::clicked, live_, &LivePreview::Edited);
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

  // One tool is down at a time; the button's id is the tool's number.
  struct Tool {
    const char* name;
    Glyph glyph;
    const char* hint;
    PaintTool tool;
  };
  const Tool tools[] = {{"bFree", Glyph::Free, "Freehand draw", PaintTool::FreeHand},
                        {"bEllip", Glyph::Ellipse, "Draw Ellipse", PaintTool::Ellipse},
                        {"bRect", Glyph::Rect, "Draw Rectangle", PaintTool::Rectangle},
                        {"bLine", Glyph::Line, "Draw a Line using current Pen Mode", PaintTool::Line},
                        {"bFill", Glyph::Fill, "Flood Fill an area with Brush Color", PaintTool::Fill},
                        {"bText", Glyph::Text, "Invoke Text Designer...", PaintTool::Text},
                        {"bSelect", Glyph::Select, "Select an area of the Image...", PaintTool::Select},
                        {"bEyeDrop", Glyph::EyeDrop, "Set Pen Color to color under cursor", PaintTool::Eyedropper}};
  tools_ = new QButtonGroup(this);
  tools_->setExclusive(true);
  int left = 5;
  for (const Tool& t : tools) {
    QToolButton* b = GlyphButton(this, t.name, t.glyph, t.hint, QRect(left, 27, 22, 22));
    b->setCheckable(true);
    b->setChecked(t.tool == PaintTool::FreeHand);
    tools_->addButton(b, int(t.tool));
    left += 22;
  }
  connect(tools_, &QButtonGroup::idClicked, this, [this](int id) {
    if (view_) view_->SelectTool(PaintTool(id));
    // Fill Shape means nothing to the flood fill; its tolerance takes the place.
    cFill->setVisible(PaintTool(id) != PaintTool::Fill);
    eTolerance->setVisible(PaintTool(id) == PaintTool::Fill);
  });

  ePenSize = new QLineEdit(this);
  ePenSize->setObjectName("ePenSize");
  ePenSize->setToolTip("Set Width of Pen");
  ePenSize->setGeometry(5, 51, 33, 19);
  connect(ePenSize, &QLineEdit::textEdited, this,
          [this](const QString& text) { editor_.ToolBox.PenSize = text.toStdString(); });
  auto* penSize = new QLabel("Pen Size", this);
  penSize->setGeometry(42, 53, 50, 15);
  cFill = new QCheckBox("Fill Shape", this);
  cFill->setObjectName("cFill");
  cFill->setToolTip("Fill Ellipses and rectangles with brush color");
  cFill->setChecked(true);
  cFill->setGeometry(100, 52, 85, 17);
  connect(cFill, &QCheckBox::toggled, this, [this](bool checked) {
    if (view_) view_->Painting().State.FillShape = checked;
  });
  eTolerance = new QSpinBox(this);
  eTolerance->setObjectName("eTolerance");
  eTolerance->setToolTip("Flood Fill also fills colours within this distance of the clicked one (0: exact)");
  eTolerance->setRange(0, 255);
  eTolerance->setPrefix("Tol. ");
  eTolerance->setGeometry(100, 50, 85, 20);
  eTolerance->setValue(editor_.ToolBox.FillTolerance);
  eTolerance->hide();
  connect(eTolerance, &QSpinBox::valueChanged, this, [this](int v) { editor_.ToolBox.FillTolerance = v; });
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
  // In SeamAxis order.
  cbSeams = new QComboBox(this);
  cbSeams->setObjectName("cbSeams");
  cbSeams->addItems({"Both", "Left/Right only", "Top/Bottom only"});
  cbSeams->setToolTip("Seams that Seamless Edge and Edge Merge join");
  cbSeams->setGeometry(8, 166, 108, 21);
  connect(cbSeams, &QComboBox::activated, this, [this](int index) {
    editor_.ToolBox.Seams = SeamAxis(index);
    if (live_) live_->Edited();
  });
  lblSeams = new QLabel("Seams", this);
  lblSeams->setObjectName("lblSeams");
  lblSeams->setGeometry(122, 170, 40, 14);

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
  connect(bCols2, &QToolButton::clicked, this, &TfToolBox::bColorClick);
}

// The six colour sliders with their OK and Cancel, below the parameter panel;
// the window grows to show them.
void TfToolBox::CreateColorSliders() {
  pnlColors = new QFrame(this);
  pnlColors->setObjectName("pnlColors");
  pnlColors->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlColors->setGeometry(4, 246, 183, 186);
  pnlColors->hide();

  struct Bar {
    QScrollBar*& bar;
    const char* name;
    const char* caption;
  };
  const Bar bars[] = {{sbBright, "sbBright", "Lightness"}, {sbContrast, "sbContrast", "Contrast"},
                      {sbSaturation, "sbSaturation", "Saturation"}, {sbRed, "sbRed", "Red"},
                      {sbGreen, "sbGreen", "Green"}, {sbBlue, "sbBlue", "Blue"}};
  int top = 6;
  for (const Bar& b : bars) {
    auto* label = new QLabel(b.caption, pnlColors);
    label->setGeometry(6, top, 56, 16);
    b.bar = new QScrollBar(Qt::Horizontal, pnlColors);
    b.bar->setObjectName(b.name);
    b.bar->setGeometry(62, top, 114, 16);
    b.bar->setRange(kSliderMin, kSliderMax);
    b.bar->setPageStep(kSliderLargeChange);
    b.bar->setValue(kSliderNeutral);
    b.bar->installEventFilter(this);
    connect(b.bar, &QScrollBar::valueChanged, this, &TfToolBox::sbBrightScroll);
    connect(b.bar, &QScrollBar::sliderReleased, this, [this] {
      if (bGood->isVisible()) bGood->setFocus();
    });
    top += 24;
  }

  bGood = new QPushButton(Mark(true), "OK", pnlColors);
  bGood->setObjectName("bGood");
  bGood->setGeometry(14, 152, 72, 25);
  connect(bGood, &QPushButton::clicked, this, &TfToolBox::bGoodClick);
  bBad = new QPushButton(Mark(false), "Cancel", pnlColors);
  bBad->setObjectName("bBad");
  bBad->setGeometry(96, 152, 72, 25);
  connect(bBad, &QPushButton::clicked, this, &TfToolBox::bBadClick);
  bGood->hide();
  bBad->hide();
}

void TfToolBox::AttachView(ImageView* view) {
  view_ = view;
  view->SetEditor(&editor_);
  view->Painting().State.FillShape = cFill->isChecked();
  view->SelectTool(PaintTool(tools_->checkedId()));
  connect(view, &ImageView::PenColorChanged, this, &TfToolBox::ShowColors);
}

bool TfToolBox::ColorSlidersShown() const { return !pnlColors->isHidden(); }

void TfToolBox::bColorClick() {
  const bool show = pnlColors->isHidden();
  pnlColors->setVisible(show);
  // Docked, the dock sizes the box: its minimum keeps the sliders in view.
  if (!isWindow()) setMinimumHeight(show ? 446 : 270);
  resize(width(), show ? 446 : 270);
}

// Every move of any bar previews all six on a fresh copy of the working image.
void TfToolBox::sbBrightScroll() {
  if (syncing_) return;
  sliders_.Lightness = sbBright->value();
  sliders_.Contrast = sbContrast->value();
  sliders_.Saturation = sbSaturation->value();
  sliders_.Red = sbRed->value();
  sliders_.Green = sbGreen->value();
  sliders_.Blue = sbBlue->value();
  SliderPreview(editor_, sliders_);
  if (view_) view_->ShowPreview(editor_.ScratchSurface);
  // Nothing else may touch the image until OK or Cancel; the tool box stays usable.
  if (QWidget* main = parentWidget()) {
    main->setEnabled(false);
    setEnabled(true);
  }
  bGood->show();
  bBad->show();
}

void TfToolBox::bGoodClick() {
  vorq::bGoodClick(editor_, sliders_);
  EndPreview();
}

void TfToolBox::bBadClick() {
  vorq::bBadClick(editor_, sliders_);
  EndPreview();
}

void TfToolBox::EndPreview() {
  syncing_ = true;
  sbBright->setValue(sliders_.Lightness);
  sbContrast->setValue(sliders_.Contrast);
  sbSaturation->setValue(sliders_.Saturation);
  sbRed->setValue(sliders_.Red);
  sbGreen->setValue(sliders_.Green);
  sbBlue->setValue(sliders_.Blue);
  syncing_ = false;
  QWidget* main = parentWidget();
  if (main) main->setEnabled(true);
  bGood->hide();
  bBad->hide();
  if (main) {
    main->activateWindow();
    main->setFocus();
  }
}

// A click on a bar's arrows or track ends its scroll on release: OK takes the focus.
bool TfToolBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && qobject_cast<QScrollBar*>(watched) &&
      watched->parent() == pnlColors && bGood->isVisible())
    bGood->setFocus();
  return QWidget::eventFilter(watched, event);
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
  cbSeams->setCurrentIndex(int(t.Seams));
  cbSeams->setVisible(t.SeamsVisible);
  lblSeams->setVisible(t.SeamsVisible);
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
  // No live preview for effects that ask first; Scroll's bar takes the box's place.
  cbPreview->setEnabled(EffectPreview::Previewable(editor_.EffectId));
  cbPreview->setVisible(!t.ScrollVisible);
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
  t.Seams = SeamAxis(cbSeams->currentIndex());
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
