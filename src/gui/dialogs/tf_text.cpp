#include "gui/dialogs/tf_text.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QVBoxLayout>
#include <algorithm>

#include "core/oplog/log_format.h"
#include "gui/widgets/color_ref.h"
#include "gui/text/text_render.h"
#include "gui/widgets/color_pick_button.h"
#include "gui/widgets/ttext_panel.h"

namespace vorq::gui {

const int TfText::kSizes[] = {2,  4,  6,  8,  9,  10, 11, 12, 14, 16, 18, 20,  22,  24,  26,  28,  30,  32,
                              34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54, 56,  58,  60,  62,  64,  68,  70,
                              72, 74, 76, 78, 80, 82, 86, 90, 96, 100, 110, 120, 132, 144, 156, 168, 180, 220};
const int TfText::kSizeCount = int(sizeof(kSizes) / sizeof(kSizes[0]));

namespace {

const char* const kStyles[] = {"Regular", "Bold", "Italic", "Bold Italic"};
const char* const kDefaultText = "Your Text Here";
// What the sample shows while the memo is empty.
const char* const kEmptySample = "Vorq'sWeft 99";
constexpr int kScalableRole = Qt::UserRole;
constexpr int kLatinRole = Qt::UserRole + 1;

// Each family's name drawn in its own face, after a small mark for the
// faces that scale to any size.
class FontItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    p->save();
    p->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
    const QColor ink = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect r = option.rect;
    if (index.data(kScalableRole).toBool()) {
      // Two overlapping T's.
      p->setPen(Qt::NoPen);
      p->setBrush(selected ? ink : QColor(128, 128, 128));
      p->drawRect(r.left() + 2, r.top() + 4, 8, 2);
      p->drawRect(r.left() + 5, r.top() + 4, 2, 9);
      p->setBrush(selected ? ink : QColor(0, 0, 0));
      p->drawRect(r.left() + 6, r.top() + 7, 8, 2);
      p->drawRect(r.left() + 9, r.top() + 7, 2, 9);
    }
    const QString family = index.data(Qt::DisplayRole).toString();
    QFont face = index.data(kLatinRole).toBool() ? QFont(family) : option.font;
    face.setPixelSize(13);
    p->setFont(face);
    p->setPen(ink);
    p->drawText(r.adjusted(18, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, family);
    p->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 18, 20);
  }
};

QListWidget* List(QWidget* parent, const char* name) {
  auto* l = new QListWidget(parent);
  l->setObjectName(name);
  l->setSelectionMode(QAbstractItemView::SingleSelection);
  return l;
}

QLineEdit* Field(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  return e;
}

// Selects row without the list's own signals running the click handlers.
void SelectRow(QListWidget* list, int row) {
  const QSignalBlocker quiet(list);
  list->setCurrentRow(row);
  if (QListWidgetItem* item = list->item(row)) list->scrollToItem(item);
}

}  // namespace

TfText::TfText(QWidget* parent, MessageSink showMessage) : QDialog(parent), showMessage_(std::move(showMessage)) {
  setObjectName("fText");
  setWindowTitle("Add Text");

  eFontName = Field(this, "eFontName");
  lbFonts = List(this, "lbFonts");
  lbFonts->setItemDelegate(new FontItemDelegate(lbFonts));
  lbFonts->setUniformItemSizes(true);
  eStyle = Field(this, "eStyle");
  eStyle->setReadOnly(true);
  lbStyle = List(this, "lbStyle");
  for (const char* s : kStyles) lbStyle->addItem(s);
  eSize = Field(this, "eSize");
  lbSize = List(this, "lbSize");
  for (int s : kSizes) lbSize->addItem(QString::number(s));

  connect(lbFonts, &QListWidget::itemClicked, this, &TfText::lbFontsClick);
  connect(lbStyle, &QListWidget::itemClicked, this, &TfText::lbStyleClick);
  connect(lbSize, &QListWidget::itemClicked, this, &TfText::lbSizeClick);
  connect(eFontName, &QLineEdit::textEdited, this, &TfText::eFontNameChange);
  connect(eSize, &QLineEdit::textEdited, this, &TfText::eSizeChange);

  tPnl1 = new TTextPanel(this);
  tPnl1->setObjectName("tPnl1");
  tPnl1->setMinimumSize(300, 64);
  tPnl1->SetBevelWidth(2);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setMinimumHeight(90);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  connect(Memo1, &QPlainTextEdit::textChanged, this, &TfText::Memo1Change);

  bColor = new ColorPickButton("Text Color", this);
  bColor->setObjectName("bColor");
  bColor->setMinimumWidth(100);
  connect(bColor, &ColorPickButton::ColorChanged, this, &TfText::bColorChange);

  auto* alignBox = new QGroupBox("Text Alignment", this);
  alignBox->setObjectName("RadioGroup1");
  auto* alignColumn = new QVBoxLayout(alignBox);
  RadioGroup1 = new QButtonGroup(this);
  int id = 0;
  for (const char* caption : {"Left", "Center", "Right"}) {
    auto* r = new QRadioButton(caption, alignBox);
    r->setObjectName(QString("rb") + caption);
    RadioGroup1->addButton(r, id++);
    alignColumn->addWidget(r);
  }
  RadioGroup1->button(0)->setChecked(true);
  connect(RadioGroup1, &QButtonGroup::idClicked, this, &TfText::RadioGroup1Click);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("BitBtn1");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("BitBtn2");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Font:", this), 0, 0);
  grid->addWidget(new QLabel("Font Style:", this), 0, 1);
  grid->addWidget(new QLabel("Size:", this), 0, 2);
  grid->addWidget(eFontName, 1, 0);
  grid->addWidget(eStyle, 1, 1);
  grid->addWidget(eSize, 1, 2);
  grid->addWidget(lbFonts, 2, 0);
  grid->addWidget(lbStyle, 2, 1);
  grid->addWidget(lbSize, 2, 2);
  // The font names take the room; styles and sizes keep their width.
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(2, 1);
  lbFonts->setMinimumSize(190, 150);
  for (QWidget* w : {static_cast<QWidget*>(eStyle), static_cast<QWidget*>(lbStyle)}) w->setFixedWidth(110);
  for (QWidget* w : {static_cast<QWidget*>(eSize), static_cast<QWidget*>(lbSize)}) w->setFixedWidth(64);

  auto* side = new QVBoxLayout;
  side->addSpacing(16);
  side->addWidget(bColor);
  side->addWidget(alignBox);
  side->addStretch();
  side->addWidget(ok);
  side->addWidget(cancel);

  auto* top = new QHBoxLayout;
  top->addLayout(grid, 1);
  top->addLayout(side);

  auto* sampleCaption = new QLabel("Sample of Selected Font:", this);
  auto* memoCaption = new QLabel("Enter Text Here", this);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top, 3);
  column->addWidget(sampleCaption);
  column->addWidget(tPnl1);
  column->addWidget(memoCaption);
  column->addWidget(Memo1, 2);

  FormCreate();
}

void TfText::FormCreate() {
  QStringList families = QFontDatabase::families();
  std::sort(families.begin(), families.end(),
            [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
  for (const QString& f : families) {
    auto* item = new QListWidgetItem(f, lbFonts);
    item->setData(kScalableRole, QFontDatabase::isSmoothlyScalable(f));
    item->setData(kLatinRole, QFontDatabase::writingSystems(f).contains(QFontDatabase::Latin));
  }
  eSize->setText("8");
  SelectRow(lbSize, 3);
  eStyle->setText(kStyles[0]);
  SelectRow(lbStyle, 0);
  const QString family = DefaultTextFamily();
  eFontName->setText(family);
  const auto found = lbFonts->findItems(family, Qt::MatchFixedString);
  if (!found.isEmpty()) SelectRow(lbFonts, lbFonts->row(found.first()));
  tPnl1->SetText(kDefaultText);
  Memo1->setPlainText(kDefaultText);
  ApplyFont();
}

bool TfText::Edit(TextToolLine& line) {
  if (exec() != QDialog::Accepted) return false;
  const TextToolLine chosen = Chosen();
  line.Font = chosen.Font;
  line.Size = chosen.Size;
  line.Color = chosen.Color;
  line.Style = chosen.Style;
  line.Text = chosen.Text;
  line.Align = chosen.Align;
  return true;
}

TextToolLine TfText::Chosen() const {
  TextToolLine l;
  l.Font = sampleFamily_.toStdString();
  l.Size = sampleSize_;
  l.Color = sampleColour_;
  l.Style = sampleStyle_;
  l.Text = Memo1->toPlainText().toStdString();
  l.Align = TextAlign(std::clamp(RadioGroup1->checkedId(), 0, 2));
  return l;
}

void TfText::lbFontsClick() {
  if (QListWidgetItem* item = lbFonts->currentItem()) eFontName->setText(item->text());
  ApplyFont();
}

void TfText::lbStyleClick() {
  if (QListWidgetItem* item = lbStyle->currentItem()) {
    eStyle->setText(item->text());
    styleIndex_ = lbStyle->row(item);
  }
  ApplyFont();
}

void TfText::lbSizeClick() {
  if (QListWidgetItem* item = lbSize->currentItem()) eSize->setText(item->text());
  ApplyFont();
}

void TfText::eFontNameChange(const QString& text) {
  // Jumps to the first family that starts with what was typed; the sample waits for a click.
  if (text.isEmpty()) return;
  for (int i = 0; i < lbFonts->count(); ++i)
    if (lbFonts->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
      SelectRow(lbFonts, i);
      return;
    }
}

void TfText::eSizeChange(const QString& text) {
  const auto size = ParseInt(text.toStdString());
  if (!size) return;
  const int* found = std::find(kSizes, kSizes + kSizeCount, *size);
  SelectRow(lbSize, found == kSizes + kSizeCount ? 0 : int(found - kSizes));
  ApplyFont();
}

bool TfText::ApplyFont() {
  const std::string sizeText = eSize->text().toStdString();
  const auto size = ParseInt(sizeText);
  if (!size) {
    if (showMessage_) showMessage_(NotAnInteger(sizeText));
    return false;
  }
  sampleFamily_ = eFontName->text();
  sampleSize_ = *size;
  sampleStyle_ = TextStyle(std::clamp(styleIndex_, 0, 3));
  tPnl1->SetTextFont(TextFont(sampleFamily_, sampleSize_, sampleStyle_));
  return true;
}

void TfText::bColorChange(uint32_t colour) {
  sampleColour_ = colour;
  tPnl1->SetFontColor(FromColorRef(colour));
}

void TfText::Memo1Change() {
  const QString text = Memo1->toPlainText();
  tPnl1->SetText(text.isEmpty() ? QString(kEmptySample) : text);
}

void TfText::RadioGroup1Click(int index) {
  static const Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  QTextOption option = Memo1->document()->defaultTextOption();
  option.setAlignment(kAlign[std::clamp(index, 0, 2)]);
  Memo1->document()->setDefaultTextOption(option);
  Memo1->viewport()->update();
}

}  // namespace vorq::gui
