#include "gui/mainwin/image_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include "core/oplog/log_format.h"
#include "editor/editor.h"
#include "gui/dialogs/tf_select.h"
#include "gui/mainwin/cursors.h"

namespace vorq::gui {

namespace {

QImage Wrap(const TFastDIB& s) {
  if (s.Empty()) return {};
  return QImage(s.Bits, s.Width(), s.Height(), int(s.BytesPerRow), QImage::Format_BGR888);
}

bool ButtonOf(Qt::MouseButton qt, MouseButton& button) {
  switch (qt) {
    case Qt::LeftButton: button = MouseButton::Left; return true;
    case Qt::MiddleButton: button = MouseButton::Middle; return true;
    case Qt::RightButton: button = MouseButton::Right; return true;
    default: return false;
  }
}

QRect Spanned(int x0, int y0, int x1, int y1) { return QRect(QPoint(x0, y0), QPoint(x1, y1)).normalized(); }

}  // namespace

ImageView::ImageView(const TFastDIB& surface, QWidget* parent) : QWidget(parent), work_(surface), shown_(&surface) {
  setObjectName("imSine");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  SelectTool(PaintTool::FreeHand);
  SurfaceChanged();
}

void ImageView::SurfaceChanged() {
  shown_ = &work_;
  const QSize size(work_.Width(), work_.Height());
  if (this->size() != size) setFixedSize(size);
  update();
}

void ImageView::ShowPreview(const TFastDIB& preview) {
  shown_ = &preview;
  update();
}

QImage ImageView::Image() const { return Wrap(*shown_); }

void ImageView::SelectTool(PaintTool tool) {
  tools_.SelectTool(tool);
  if (band_.Band != RubberBand::None) {
    update(BandBounds(band_));
    band_ = {};
  }
  cursorName_ = QString::fromLatin1(ToolCursorName(tool));
  setCursor(ToolCursor(cursorName_));
}

TfSelect* ImageView::SelectDialog() {
  if (!select_) select_ = new TfSelect(window());
  return select_;
}

QRect ImageView::BandRect() const {
  if (band_.Band == RubberBand::None) return {};
  return Spanned(band_.BandX0, band_.BandY0, band_.BandX1, band_.BandY1);
}

// ---- painting ----

void ImageView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QImage image = Image();
  if (image.isNull())
    p.fillRect(event->rect(), Qt::black);
  else
    p.drawImage(event->rect().topLeft(), image, event->rect());
  if (band_.Band != RubberBand::None) DrawBand(p);
}

// The band inverts what lies under it, so it shows on any picture; it lives
// on screen only and never reaches the surface.
void ImageView::DrawBand(QPainter& p) const {
  const GestureResult& b = band_;
  const bool selection = b.Band == RubberBand::Selection;
  const bool xorMode = p.paintEngine() && p.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
  auto outline = [&](const QPen& pen) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRect box = Spanned(b.BandX0, b.BandY0, b.BandX1, b.BandY1);
    switch (b.Band) {
      case RubberBand::Line: p.drawLine(b.BandX0, b.BandY0, b.BandX1, b.BandY1); break;
      case RubberBand::Ellipse: p.drawEllipse(box); break;
      case RubberBand::Rectangle:
      case RubberBand::Selection: p.drawRect(box); break;
      case RubberBand::None: break;
    }
  };
  const int width = selection ? 1 : bandWidth_;
  const Qt::PenStyle style = selection ? Qt::DashLine : Qt::SolidLine;
  p.setRenderHint(QPainter::Antialiasing, false);
  if (xorMode) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    outline(QPen(Qt::white, width, style, Qt::FlatCap, Qt::MiterJoin));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  } else {
    // Without raster operations: white under black dashes looks much the same.
    outline(QPen(Qt::white, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    outline(QPen(Qt::black, width, selection ? Qt::DashLine : Qt::DotLine, Qt::FlatCap, Qt::MiterJoin));
  }
}

QRect ImageView::BandBounds(const GestureResult& band) const {
  if (band.Band == RubberBand::None) return {};
  const int margin = bandWidth_ / 2 + 2;
  return Spanned(band.BandX0, band.BandY0, band.BandX1, band.BandY1).adjusted(-margin, -margin, margin, margin);
}

void ImageView::SetBand(const GestureResult& r) {
  const bool same = r.Band == band_.Band && r.BandX0 == band_.BandX0 && r.BandY0 == band_.BandY0 &&
                    r.BandX1 == band_.BandX1 && r.BandY1 == band_.BandY1;
  if (same) return;
  update(BandBounds(band_));
  band_ = {};
  band_.Band = r.Band;
  band_.BandX0 = r.BandX0;
  band_.BandY0 = r.BandY0;
  band_.BandX1 = r.BandX1;
  band_.BandY1 = r.BandY1;
  update(BandBounds(band_));
}

// What a call to the painting tools asks of the screen.
void ImageView::Show(const GestureResult& r, int x, int y) {
  if (!r.Changed.Empty())
    update(QRect(r.Changed.Left, r.Changed.Top, r.Changed.Right - r.Changed.Left, r.Changed.Bottom - r.Changed.Top));
  SetBand(r);
  if (r.PenColorChanged) emit PenColorChanged();
  if (r.RunTextTool) emit TextToolAt(x, y);
  if (r.AskSelectionAction) AskSelectionAction();
}

// ---- mouse ----

void ImageView::mousePressEvent(QMouseEvent* event) {
  MouseButton button;
  if (!editor_ || !ButtonOf(event->button(), button)) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint pos = event->position().toPoint();
  // The band is drawn as wide as the pen the press picks up.
  if (const auto width = ParseInt(editor_->ToolBox.PenSize)) bandWidth_ = ClampPenWidth(*width);
  Show(tools_.MouseDown(*editor_, pos.x(), pos.y(), button), pos.x(), pos.y());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (rect().contains(pos)) emit MouseAt(pos.x(), pos.y());
  if (editor_) {
    Show(tools_.MouseMove(*editor_, pos.x(), pos.y()), pos.x(), pos.y());
    if (tools_.State.Dragging && tools_.State.Tool == PaintTool::Select) AutoScroll(pos.x(), pos.y());
  }
  QWidget::mouseMoveEvent(event);
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
  MouseButton button;
  if (!editor_ || !ButtonOf(event->button(), button)) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const QPoint pos = event->position().toPoint();
  Show(tools_.MouseUp(*editor_, pos.x(), pos.y(), button), pos.x(), pos.y());
}

void ImageView::contextMenuEvent(QContextMenuEvent* event) {
  if (popup_) popup_->popup(event->globalPos());
}

// A selection dragged past the visible part of the image scrolls it one step.
void ImageView::AutoScroll(int x, int y) {
  QScrollArea* area = nullptr;
  for (QWidget* w = parentWidget(); w && !area; w = w->parentWidget()) area = qobject_cast<QScrollArea*>(w);
  if (!area) return;
  const QRect visible(mapFrom(area->viewport(), QPoint(0, 0)), area->viewport()->size());
  QScrollBar* h = area->horizontalScrollBar();
  QScrollBar* v = area->verticalScrollBar();
  if (x > visible.right()) h->setValue(h->value() + 1);
  if (y > visible.bottom()) v->setValue(v->value() + 1);
  if (x < visible.left()) {
    h->setValue(h->value() - 1);
    QCursor::setPos(QCursor::pos() + QPoint(1, 0));
  }
  if (y < visible.top()) {
    v->setValue(v->value() - 1);
    QCursor::setPos(QCursor::pos() + QPoint(0, 1));
  }
}

// The released selection: the band stays while the dialog asks what to do with it.
void ImageView::AskSelectionAction() {
  const SelectionAction action = SelectDialog()->Ask();
  SetBand(GestureResult{});
  const SelectionResult res = tools_.SelectionChosen(*editor_, action);
  if (!res.Done) return;
  if (!res.Clipboard.Empty()) QGuiApplication::clipboard()->setImage(Wrap(res.Clipboard).copy());
}

}  // namespace vorq::gui
