#include "gui/dialogs/tf_print.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorq::gui {

namespace {

const char* const kScalingHelp =
    "The scaling factor is only used for Match Screen Size printing.\r"
    "Translating screen size "
    "to printer size is not an exact process.  On my 800 x 600 system "
    "I must use the 1.375 scaling to get a close approximation "
    "of what I see on the screen to what is printed, otherwise "
    "the printed image is very small.  You can adjust this to "
    "whatever seems to work on your particular printer, probably "
    "a value between 1 and 2.";

// A radio group with its items numbered from 0; the first is checked.
QButtonGroup* RadioGroup(QWidget* owner, QGroupBox* box, const char* name, std::initializer_list<const char*> items) {
  box->setObjectName(name);
  auto* group = new QButtonGroup(owner);
  group->setObjectName(name);
  auto* column = new QVBoxLayout(box);
  int i = 0;
  for (const char* caption : items) {
    auto* b = new QRadioButton(caption, box);
    b->setObjectName(QString("%1Item%2").arg(name).arg(i));
    group->addButton(b, i++);
    column->addWidget(b);
  }
  column->addStretch();
  group->button(0)->setChecked(true);
  return group;
}

QLineEdit* SizeBox(QWidget* parent, const char* name, const char* text) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000.000") + 12);
  return box;
}

}  // namespace

TfPrint::TfPrint(QWidget* parent, MessageSink showMessage) : QDialog(parent), showMessage_(std::move(showMessage)) {
  setObjectName("fPrint");
  setWindowTitle("Print Options");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* sizeBox = new QGroupBox("Size", this);
  rgSize = RadioGroup(this, sizeBox, "rgSize",
                      {"Match Screen Size", "Specify Size", "Stretch to Fit Page", "CD Cover Front", "CD Cover Back"});
  connect(rgSize, &QButtonGroup::idClicked, this, &TfPrint::rgSizeClick);
  auto* alignBox = new QGroupBox("Alignment", this);
  rgAlign = RadioGroup(this, alignBox, "rgAlign", {"Top Left", "Center"});
  auto* orientBox = new QGroupBox("Orientation", this);
  rgOrient = RadioGroup(this, orientBox, "rgOrient", {"Portrait", "Landscape"});

  // Mode 0's controls.
  lblScale = new QLabel("Scaling Factor", this);
  lblScale->setObjectName("lblScale");
  eScale = SizeBox(this, "eScale", "1.375");
  SpeedButton1 = new QToolButton(this);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->setText("?");
  SpeedButton1->setToolTip("What's the Scaling Factor?");
  connect(SpeedButton1, &QToolButton::clicked, this, &TfPrint::SpeedButton1Click);

  // Modes 1, 3 and 4's controls.
  lblInches = new QLabel("Size in Inches", this);
  lblInches->setObjectName("lblInches");
  lblWide = new QLabel("Width", this);
  lblWide->setObjectName("lblWide");
  lblHigh = new QLabel("Height", this);
  lblHigh->setObjectName("lblHigh");
  eWide = SizeBox(this, "eWide", "3.5");
  eHigh = SizeBox(this, "eHigh", "3.5");
  cbAspect = new QCheckBox("Maintain Ratio", this);
  cbAspect->setObjectName("cbAspect");
  cbAspect->setChecked(true);
  for (QLineEdit* box : {eWide, eHigh}) box->installEventFilter(this);

  // Both sets share one place; only the mode's set shows.
  auto* fields = new QGridLayout;
  fields->addWidget(lblScale, 0, 0);
  fields->addWidget(eScale, 0, 1);
  fields->addWidget(SpeedButton1, 0, 2, Qt::AlignLeft);
  fields->addWidget(lblInches, 1, 0, 1, 3);
  fields->addWidget(lblWide, 2, 0);
  fields->addWidget(eWide, 2, 1);
  fields->addWidget(lblHigh, 3, 0);
  fields->addWidget(eHigh, 3, 1);
  fields->addWidget(cbAspect, 4, 0, 1, 3);
  fields->setColumnStretch(3, 1);
  fields->setRowStretch(5, 1);
  auto* fieldsPanel = new QWidget(this);
  fieldsPanel->setLayout(fields);
  fieldsPanel->setFixedHeight(fieldsPanel->sizeHint().height());

  sbPrint = new QPushButton("Setup..", this);
  sbPrint->setObjectName("sbPrint");
  sbPrint->setToolTip("Printer Setup...");
  sbPrint->setAutoDefault(false);
  connect(sbPrint, &QPushButton::clicked, this, &TfPrint::sbPrintClick);
  bPreview = new QPushButton("Preview...", this);
  bPreview->setObjectName("bPreview");
  bPreview->setToolTip("Show the page as it will be printed");
  bPreview->setAutoDefault(false);
  connect(bPreview, &QPushButton::clicked, this, &TfPrint::bPreviewClick);
  BitBtn1 = new QPushButton("OK", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setToolTip("Print using selected settings");
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TfPrint::accept);
  BitBtn2 = new QPushButton("Cancel", this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setToolTip("Do not print");
  BitBtn2->setAutoDefault(false);
  connect(BitBtn2, &QPushButton::clicked, this, &TfPrint::reject);

  auto* right = new QVBoxLayout;
  auto* groups = new QHBoxLayout;
  groups->addWidget(alignBox);
  groups->addWidget(orientBox);
  right->addLayout(groups);
  right->addWidget(fieldsPanel);
  right->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(sizeBox);
  top->addLayout(right, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(sbPrint);
  buttons->addWidget(bPreview);
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);

  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addSpacing(6);
  column->addLayout(buttons);
  column->setSizeConstraint(QLayout::SetFixedSize);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  QAction* front = PopupMenu1->addAction("CD Jacket - Front");
  front->setObjectName("CDJacketFront1");
  connect(front, &QAction::triggered, this, [this] { CDJacket(kCDCoverFront); });
  QAction* back = PopupMenu1->addAction("CD Jacket - Back");
  back->setObjectName("CDJacketBack1");
  connect(back, &QAction::triggered, this, [this] { CDJacket(kCDCoverBack); });

  ShowModeControls(kMatchScreenSize);
}

TfPrint::~TfPrint() = default;

QPrinter& TfPrint::printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setDocName("VorqTile");
  }
  return *printer_;
}

PrintChoices TfPrint::Choices() const {
  PrintChoices c;
  c.Size = rgSize->checkedId();
  c.Align = rgAlign->checkedId();
  c.Orient = rgOrient->checkedId();
  c.Scale = eScale->text().toStdString();
  c.Wide = eWide->text().toStdString();
  c.High = eHigh->text().toStdString();
  return c;
}

void TfPrint::FormShow(const TFastDIB& image, const ScreenMetrics& screen) {
  image_ = &image;
  screen_ = screen;
  eScale->setText(QString::fromStdString(ScaleForScreenWidth(screen.Width)));
  const int mode = rgSize->checkedId();
  if (mode == kCDCoverFront || mode == kCDCoverBack) {
    // A CD cover keeps its size; the image's own size would cut the wrong cover.
    const CDCoverSize cd = mode == kCDCoverFront ? kCDFrontSize : kCDBackSize;
    eWide->setText(cd.Wide);
    eHigh->setText(cd.High);
  } else {
    eWide->setText(QString::fromStdString(InchesText(image.Width() / screen.DpiX)));
    eHigh->setText(QString::fromStdString(InchesText(image.Height() / screen.DpiY)));
  }
  ShowModeControls(mode);
}

void TfPrint::Print1Click(const TFastDIB& image) {
  FormShow(image, PrimaryScreenMetrics());
  bool ok = exec() == QDialog::Accepted;
  if (ok) {
    QPrinter& p = printer();
    ok = Check(p, image);
    // A file is never written over unseen, and with no printer on the system
    // there is nowhere to print until the user says where: the print dialog asks.
    const bool toFile = p.outputFormat() == QPrinter::PdfFormat;
    if (ok && (toFile || p.printerName().isEmpty())) {
      if (toFile && p.outputFileName().isEmpty()) p.setOutputFileName(QDir::homePath() + "/VorqTile.pdf");
      QPrintDialog where(&p, parentWidget());
      ok = where.exec() == QDialog::Accepted;
    }
    if (ok) PrintTo(p, image);
  }
  image_ = nullptr;
}

bool TfPrint::PrintTo(QPrinter& p, const TFastDIB& image) {
  std::string error;
  if (PrintImage(p, image, Choices(), screen_, error)) return true;
  Report(error);
  return false;
}

bool TfPrint::Check(QPrinter& p, const TFastDIB& image) {
  std::string error;
  if (PlacePrint(Choices(), ReadPrintDevice(p, rgOrient->checkedId(), screen_), image.Width(), image.Height(), error))
    return true;
  Report(error);
  return false;
}

void TfPrint::ShowModeControls(int mode) {
  const bool scale = mode == kMatchScreenSize;
  const bool inches = mode == kSpecifySize || mode == kCDCoverFront || mode == kCDCoverBack;
  for (QWidget* w : std::initializer_list<QWidget*>{lblScale, eScale, SpeedButton1}) w->setVisible(scale);
  for (QWidget* w : std::initializer_list<QWidget*>{lblInches, lblWide, lblHigh, eWide, eHigh, cbAspect})
    w->setVisible(inches);
}

void TfPrint::rgSizeClick(int mode) {
  ShowModeControls(mode);
  if (mode == kCDCoverFront || mode == kCDCoverBack) CDJacket(mode);
}

void TfPrint::CDJacket(int mode) {
  const CDCoverSize cd = mode == kCDCoverFront ? kCDFrontSize : kCDBackSize;
  eWide->setText(cd.Wide);
  eHigh->setText(cd.High);
  rgSize->button(mode)->setChecked(true);
  rgOrient->button(kLandscape)->setChecked(true);
  rgAlign->button(kAlignCenter)->setChecked(true);
  ShowModeControls(mode);
}

// eWideExit and eHighExit: the box left sets the other one.
void TfPrint::SizeBoxExit(bool width) {
  if (!cbAspect->isChecked() || !image_) return;
  QLineEdit* left = width ? eWide : eHigh;
  std::string error;
  if (auto other = CoupledSize(left->text().toStdString(), width, image_->Width(), image_->Height(), error))
    (width ? eHigh : eWide)->setText(QString::fromStdString(*other));
  else
    Report(error);
}

void TfPrint::sbPrintClick() {
  QPrintDialog setup(&printer(), this);
  setup.setWindowTitle("Printer Setup");
  setup.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  setup.exec();
}

void TfPrint::SpeedButton1Click() { Report(kScalingHelp); }

void TfPrint::bPreviewClick() {
  if (!image_) return;
  QPrinter& p = printer();
  if (!Check(p, *image_)) return;
  QPrintPreviewDialog preview(&p, this);
  preview.setObjectName("PrintPreview");
  preview.setWindowTitle("Print Preview");
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
    std::string ignored;
    PrintImage(*target, *image_, Choices(), screen_, ignored);
  });
  preview.exec();
}

void TfPrint::Report(const std::string& text) {
  if (showMessage_) {
    showMessage_(text);
    return;
  }
  QString shown = QString::fromStdString(text);
  shown.replace('\r', '\n');
  QMessageBox::information(this, windowTitle(), shown);
}

bool TfPrint::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == eWide || watched == eHigh) && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Leaving for Cancel, a menu or another window is not leaving the box.
    const bool toCancel = QApplication::focusWidget() == BitBtn2;
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !toCancel)
      SizeBoxExit(watched == eWide);
  }
  return QDialog::eventFilter(watched, event);
}

void TfPrint::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(event->globalPos()); }

}  // namespace vorq::gui
