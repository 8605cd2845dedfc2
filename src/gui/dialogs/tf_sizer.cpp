#include "gui/dialogs/tf_sizer.h"

#include <QApplication>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

namespace vorq::gui {

namespace {

// A masked number box: one to `digits` digits, right-aligned.
QLineEdit* NumberBox(QWidget* parent, const char* name, int digits) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setMaxLength(digits);
  box->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QString("\\d{1,%1}").arg(digits)), box));
  box->setAlignment(Qt::AlignRight);
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(digits + 1, QChar('0'))) + 14);
  return box;
}

void SetText(QLineEdit* box, const std::string& text) {
  const QString t = QString::fromStdString(text);
  // Rewriting the same text would move the cursor of the box being typed in.
  if (box->text() != t) box->setText(t);
}

}  // namespace

TfrmSizer::TfrmSizer(QWidget* parent, MessageSink showMessage)
    : QDialog(parent), showMessage_(std::move(showMessage)) {
  setObjectName("frmSizer");
  setWindowTitle("Set Size");
  // A fixed dialog with nothing on its title bar but the help button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowContextHelpButtonHint);

  Label3 = new QLabel("Current Size:", this);
  Label3->setObjectName("Label3");
  Label4 = new QLabel(this);
  Label4->setObjectName("Label4");

  rgSizer = new QGroupBox("Select Size", this);
  rgSizer->setObjectName("rgSizer");
  sizes_ = new QButtonGroup(this);
  auto* sizeColumn = new QVBoxLayout(rgSizer);
  const char* const captions[] = {"640 X 480", "800 X 600", "1024 X 768", "Custom..."};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QRadioButton(captions[i], rgSizer);
    b->setObjectName(QString("rgSizerItem%1").arg(i));
    sizes_->addButton(b, i);
    sizeColumn->addWidget(b);
  }
  sizes_->button(kSizeCustom)->setChecked(true);
  connect(sizes_, &QButtonGroup::idClicked, this, &TfrmSizer::rgSizerClick);

  rbPix = new QRadioButton("Pixels", this);
  rbPix->setObjectName("rbPix");
  rbPix->setChecked(true);
  rbPct = new QRadioButton("Percent", this);
  rbPct->setObjectName("rbPct");
  connect(rbPix, &QRadioButton::clicked, this, &TfrmSizer::rbPixClick);
  connect(rbPct, &QRadioButton::clicked, this, &TfrmSizer::rbPctClick);

  meWidth = NumberBox(this, "meWidth", kSizerWidthDigits);
  meHeight = NumberBox(this, "meHeight", kSizerHeightDigits);
  mePctWidth = NumberBox(this, "mePctWidth", kSizerPercentDigits);
  mePctHeight = NumberBox(this, "mePctHeight", kSizerPercentDigits);
  mePctWidth->setText("50");
  mePctHeight->setText("50");
  mePctWidth->setEnabled(false);
  mePctHeight->setEnabled(false);
  for (QLineEdit* box : {meWidth, meHeight, mePctWidth, mePctHeight}) {
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this, [this, box](const QString& text) { BoxEdited(BoxOf(box), text); });
  }

  // Pixels and Percent each lead a row of width and height boxes.
  auto* boxes = new QGridLayout;
  boxes->setHorizontalSpacing(6);
  auto* widthCaption = new QLabel("Width", this);
  auto* heightCaption = new QLabel("Height", this);
  boxes->addWidget(widthCaption, 0, 1, Qt::AlignHCenter);
  boxes->addWidget(heightCaption, 0, 3, Qt::AlignHCenter);
  boxes->addWidget(rbPix, 1, 0);
  boxes->addWidget(meWidth, 1, 1);
  boxes->addWidget(new QLabel("X", this), 1, 2);
  boxes->addWidget(meHeight, 1, 3);
  boxes->addWidget(rbPct, 2, 0);
  boxes->addWidget(mePctWidth, 2, 1);
  boxes->addWidget(new QLabel("X", this), 2, 2);
  boxes->addWidget(mePctHeight, 2, 3);
  boxes->addWidget(new QLabel("%", this), 2, 4);
  boxes->setColumnStretch(5, 1);

  btnOK = new QPushButton("OK", this);
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  btnCancel = new QPushButton("Cancel", this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setAutoDefault(false);
  connect(btnOK, &QPushButton::clicked, this, &TfrmSizer::accept);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmSizer::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);

  auto* current = new QHBoxLayout;
  current->addWidget(Label3);
  current->addWidget(Label4, 1);

  auto* right = new QVBoxLayout;
  right->addLayout(current);
  right->addSpacing(8);
  right->addLayout(boxes);
  right->addStretch();
  right->addLayout(buttons);

  auto* row = new QHBoxLayout(this);
  row->addWidget(rgSizer);
  row->addSpacing(8);
  row->addLayout(right, 1);
  row->setSizeConstraint(QLayout::SetFixedSize);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  const char* const items[][2] = {
      {"CD Front 912 x 456", "CDFront1"}, {"CD Back 564 x 444", "CDBack1"}, {"CD Front 1/2", "CDFront121"}};
  for (int i = 0; i < 3; ++i) {
    QAction* a = PopupMenu1->addAction(items[i][0]);
    a->setObjectName(items[i][1]);
    connect(a, &QAction::triggered, this, [this, i] { PopupClick(i); });
  }
}

void TfrmSizer::Attach(SizerState& state) {
  state_ = &state;
  leftError_.clear();
  ShowState();
}

bool TfrmSizer::Edit(SizerState& state) {
  Attach(state);
  adjustSize();
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  // The width box is where a new size is usually typed.
  meWidth->setFocus(Qt::OtherFocusReason);
  const bool ok = exec() == QDialog::Accepted;
  return ok;
}

void TfrmSizer::ShowState() {
  if (!state_) return;
  const SizerState& s = *state_;
  Label4->setText(QString::fromStdString(SizerCurrentLabel(s)));
  if (QAbstractButton* b = sizes_->button(s.Selection)) b->setChecked(true);
  rbPix->setChecked(!s.Percent);
  rbPct->setChecked(s.Percent);
  SetText(meWidth, s.Width);
  SetText(meHeight, s.Height);
  SetText(mePctWidth, s.PctWidth);
  SetText(mePctHeight, s.PctHeight);
  mePctWidth->setEnabled(s.Percent);
  mePctHeight->setEnabled(s.Percent);
}

void TfrmSizer::Report(const std::string& error) {
  if (showMessage_)
    showMessage_(error);
  else
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
}

SizerBox TfrmSizer::BoxOf(QObject* edit) const {
  if (edit == meHeight) return SizerBox::Height;
  if (edit == mePctWidth) return SizerBox::PctWidth;
  if (edit == mePctHeight) return SizerBox::PctHeight;
  return SizerBox::Width;
}

void TfrmSizer::rgSizerClick(int index) {
  if (!state_) return;
  SizerSelect(*state_, index);
  ShowState();
}

void TfrmSizer::rbPixClick() {
  if (!state_) return;
  SizerPixels(*state_);
  ShowState();
}

void TfrmSizer::rbPctClick() {
  if (!state_) return;
  std::string error;
  const bool ok = SizerPercent(*state_, error);
  ShowState();
  if (!ok) Report(error);
}

void TfrmSizer::BoxEdited(SizerBox box, const QString& text) {
  if (!state_) return;
  SizerState& s = *state_;
  const std::string t = text.toStdString();
  switch (box) {
    case SizerBox::Width: s.Width = t; return;
    case SizerBox::Height: s.Height = t; return;
    case SizerBox::PctWidth: s.PctWidth = t; break;
    case SizerBox::PctHeight: s.PctHeight = t; break;
  }
  // A percent box works out the size as it is typed.
  std::string error;
  const bool ok = SizerBoxChanged(s, box, false, error);
  ShowState();
  if (!ok) Report(error);
}

void TfrmSizer::BoxLeft(SizerBox box) {
  if (!state_) return;
  std::string error;
  if (SizerBoxChanged(*state_, box, true, error)) {
    ShowState();
    return;
  }
  ShowState();
  leftError_ = error;
  Report(error);
}

void TfrmSizer::PopupClick(int item) {
  if (!state_) return;
  SizerPopup(*state_, item);
  ShowState();
}

bool TfrmSizer::eventFilter(QObject* watched, QEvent* event) {
  const bool box = watched == meWidth || watched == meHeight || watched == mePctWidth || watched == mePctHeight;
  if (box && event->type() == QEvent::FocusIn) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Coming back from a menu or another window is not entering the box.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && state_) {
      SizerEnterBox(*state_);
      ShowState();
    }
  } else if (box && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Leaving for Cancel, a menu or another window takes nothing from the box.
    const bool toCancel = QApplication::focusWidget() == btnCancel;
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !toCancel)
      BoxLeft(BoxOf(watched));
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmSizer::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(event->globalPos()); }

void TfrmSizer::accept() {
  if (!state_) return;
  std::string error;
  const bool ok = SizerAccept(*state_, error);
  const std::string alreadyShown = std::exchange(leftError_, {});
  if (!ok) {
    ShowState();
    if (error != alreadyShown) Report(error);
    return;
  }
  QDialog::accept();
}

}  // namespace vorq::gui
