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
#include <QWheelEvent>

#include <cmath>

#include <algorithm>

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
  Resize();
  update();
}

void ImageView::Resize() {
  geometry_.Width = work_.Width();
  geometry_.Height = work_.Height();
  const QSize size(ViewExtent(geometry_, geometry_.Width), ViewExtent(geometry_, geometry_.Height));
  if (this->size() != size) setFixedSize(size);
}

// ---- zoom and the tiled view ----

QScrollArea* ImageView::Area() const {
  for (QWidget* w = parentWidget(); w; w = w->parentWidget())
    if (auto* area = qobject_cast<QScrollArea*>(w)) return area;
  return nullptr;
}

QPoint ImageView::ToImage(const QPoint& widget) const {
  return {ViewToImage(geometry_, geometry_.Width, widget.x()), ViewToImage(geometry_, geometry_.Height, widget.y())};
}

QRect ImageView::ToView(const QRect& image) const {
  const int x0 = ImageToView(geometry_, geometry_.Width, image.left());
  const int y0 = ImageToView(geometry_, geometry_.Height, image.top());
  const int x1 = ImageToView(geometry_, geometry_.Width, image.left() + image.width());
  const int y1 = ImageToView(geometry_, geometry_.Height, image.top() + image.height());
  return QRect(x0, y0, x1 - x0, y1 - y0);
}

void ImageView::SetZoom(int zoomLog2, const QPoint* anchor) {
  zoomLog2 = std::clamp(zoomLog2, kMinZoomLog2, kMaxZoomLog2);
  if (zoomLog2 == geometry_.ZoomLog2) return;
  QScrollArea* area = Area();
  // The image point under the anchor, in image pixels (fractional below 1x).
  QPoint at;
  double fx = 0, fy = 0;
  if (area) {
    at = anchor ? *anchor : QPoint(area->viewport()->width() / 2, area->viewport()->height() / 2);
    const QPoint w = mapFrom(area->viewport(), at);
    fx = std::ldexp(double(w.x()) + 0.5, -geometry_.ZoomLog2);
    fy = std::ldexp(double(w.y()) + 0.5, -geometry_.ZoomLog2);
  }
  geometry_.ZoomLog2 = zoomLog2;
  Resize();
  update();
  if (area) {
    // The area learns the new size on its own later; the scroll bars need the range now.
    QScrollBar* h = area->horizontalScrollBar();
    QScrollBar* v = area->verticalScrollBar();
    h->setMaximum(std::max(0, width() - area->viewport()->width()));
    v->setMaximum(std::max(0, height() - area->viewport()->height()));
    h->setValue(int(std::ldexp(fx, zoomLog2)) - at.x());
    v->setValue(int(std::ldexp(fy, zoomLog2)) - at.y());
  }
  emit ZoomChanged(zoomLog2);
}

int ImageView::FitZoom() const {
  QScrollArea* area = Area();
  const QSize room = area ? area->maximumViewportSize() : size();
  ViewGeometry g = geometry_;
  for (g.ZoomLog2 = kMaxZoomLog2; g.ZoomLog2 > kMinZoomLog2; --g.ZoomLog2)
    if (ViewExtent(g, g.Width) <= room.width() && ViewExtent(g, g.Height) <= room.height()) break;
  return g.ZoomLog2;
}

void ImageView::SetTiled(bool tiled) {
  if (tiled == geometry_.Tiled) return;
  QScrollArea* area = Area();
  const QPoint before(ImageToView(geometry_, geometry_.Width, 0), ImageToView(geometry_, geometry_.Height, 0));
  // Read before the smaller view clamps the scroll bars, which would lose the place.
  const QPoint scrolled = area ? QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()) : QPoint();
  geometry_.Tiled = tiled;
  Resize();
  update();
  if (!area) return;
  if (!wrapConnected_) {
    wrapConnected_ = true;
    connect(area->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ImageView::WrapScroll);
    connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, &ImageView::WrapScroll);
  }
  // The image stays where it was on screen.
  const QPoint after(ImageToView(geometry_, geometry_.Width, 0), ImageToView(geometry_, geometry_.Height, 0));
  QScrollBar* h = area->horizontalScrollBar();
  QScrollBar* v = area->verticalScrollBar();
  h->setMaximum(std::max(0, width() - area->viewport()->width()));
  v->setMaximum(std::max(0, height() - area->viewport()->height()));
  h->setValue(scrolled.x() + after.x() - before.x());
  v->setValue(scrolled.y() + after.y() - before.y());
}

void ImageView::SetDimCopies(bool dim) {
  geometry_.Dim = dim;
  update();
}

// The tiled view scrolls without end: past half a tile from either end the
// scroll bar jumps back by one tile, which shows the same pixels.
void ImageView::WrapScroll() {
  QScrollArea* area = Area();
  if (!geometry_.Tiled || wrapping_ || !area) return;
  wrapping_ = true;
  auto wrap = [](QScrollBar* bar, int tile) {
    if (tile <= 0 || bar->maximum() < tile + tile / 2) return;
    if (bar->value() < tile / 2) bar->setValue(bar->value() + tile);
    else if (bar->value() >= tile + tile / 2) bar->setValue(bar->value() - tile);
  };
  wrap(area->horizontalScrollBar(), ImageToView(geometry_, geometry_.Width, geometry_.Width) -
                                        ImageToView(geometry_, geometry_.Width, 0));
  wrap(area->verticalScrollBar(), ImageToView(geometry_, geometry_.Height, geometry_.Height) -
                                      ImageToView(geometry_, geometry_.Height, 0));
  wrapping_ = false;
}

void ImageView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
    QWidget::wheelEvent(event);
    return;
  }
  QScrollArea* area = Area();
  // The point under the mouse in the viewport's coordinates (the view is the viewport's child).
  const QPoint at = area ? mapTo(area->viewport(), event->position().toPoint()) : QPoint();
  SetZoom(geometry_.ZoomLog2 + (event->angleDelta().y() > 0 ? 1 : -1), area ? &at : nullptr);
  event->accept();
}

// Repaints what the tools changed, in every copy that shows it.
void ImageView::UpdateImageRect(int left, int top, int right, int bottom) {
  const int W = geometry_.Width, H = geometry_.Height;
  const int n = geometry_.Tiled ? 1 : 0;
  for (int dy = -n; dy <= n; ++dy)
    for (int dx = -n; dx <= n; ++dx)
      update(ToView(QRect(left + dx * W, top + dy * H, right - left, bottom - top)).adjusted(0, 0, 1, 1));
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

// Only the exposed region is rendered, sampled straight from the surface.
void ImageView::Freeze(bool frozen) {
  if (!frozen) {
    frozen_ = QPixmap();
    update();
    return;
  }
  const QRect visible = visibleRegion().boundingRect();
  if (visible.isEmpty()) {
    frozen_ = QPixmap(1, 1);
    frozen_.fill(Qt::transparent);
  } else {
    frozen_ = grab(visible);
  }
  frozenAt_ = visible.topLeft();
}

void ImageView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  if (!frozen_.isNull()) {
    p.fillRect(event->rect(), palette().window());
    p.drawPixmap(frozenAt_, frozen_);
    return;
  }
  ViewGeometry g = geometry_;
  g.Width = shown_->Width();
  g.Height = shown_->Height();
  for (const QRect& r : event->region()) {
    if (frame_.width() < r.width() || frame_.height() < r.height())
      frame_ = QImage(std::max(frame_.width(), r.width()), std::max(frame_.height(), r.height()), QImage::Format_RGB32);
    RenderView(*shown_, g, r.x(), r.y(), r.width(), r.height(), reinterpret_cast<uint32_t*>(frame_.bits()),
               frame_.bytesPerLine() / 4, scratch_);
    p.drawImage(r.topLeft(), frame_, QRect(0, 0, r.width(), r.height()));
  }
  if (g.ZoomLog2 >= kGridZoomLog2) {
    // The pixel grid: a faint line between every two image pixels.
    const int step = 1 << g.ZoomLog2;
    const QRect r = event->rect();
    p.setPen(QColor(128, 128, 128, 90));
    for (int x = r.left() / step * step; x <= r.right(); x += step) p.drawLine(x, r.top(), x, r.bottom());
    for (int y = r.top() / step * step; y <= r.bottom(); y += step) p.drawLine(r.left(), y, r.right(), y);
  }
  if (band_.Band != RubberBand::None) {
    p.save();
    p.translate(ImageToView(g, g.Width, 0), ImageToView(g, g.Height, 0));
    p.scale(std::ldexp(1.0, g.ZoomLog2), std::ldexp(1.0, g.ZoomLog2));
    DrawBand(p);
    p.restore();
  }
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
  return ToView(Spanned(band.BandX0, band.BandY0, band.BandX1, band.BandY1).adjusted(-margin, -margin, margin, margin));
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
  if (!r.Changed.Empty()) UpdateImageRect(r.Changed.Left, r.Changed.Top, r.Changed.Right, r.Changed.Bottom);
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
  const QPoint widget = event->position().toPoint();
  const QPoint pos = ToImage(widget);
  // The band is drawn as wide as the pen the press picks up.
  if (const auto width = ParseInt(editor_->ToolBox.PenSize)) bandWidth_ = ClampPenWidth(*width);
  Show(tools_.MouseDown(*editor_, pos.x(), pos.y(), button), widget.x(), widget.y());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint widget = event->position().toPoint();
  const QPoint pos = ToImage(widget);
  if (editor_) {
    Show(tools_.MouseMove(*editor_, pos.x(), pos.y()), widget.x(), widget.y());
    if (tools_.State.Dragging && tools_.State.Tool == PaintTool::Select) AutoScroll(widget.x(), widget.y());
  }
  // After the tools, which show the position as they draw with it: in the
  // tiled view a copy's pixel is named by the image pixel it shows.
  if (rect().contains(widget)) {
    const int W = std::max(geometry_.Width, 1), H = std::max(geometry_.Height, 1);
    if (geometry_.Tiled)
      emit MouseAt(((pos.x() % W) + W) % W, ((pos.y() % H) + H) % H);
    else
      emit MouseAt(pos.x(), pos.y());
  }
  QWidget::mouseMoveEvent(event);
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
  MouseButton button;
  if (!editor_ || !ButtonOf(event->button(), button)) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const QPoint widget = event->position().toPoint();
  const QPoint pos = ToImage(widget);
  Show(tools_.MouseUp(*editor_, pos.x(), pos.y(), button), widget.x(), widget.y());
}

void ImageView::contextMenuEvent(QContextMenuEvent* event) {
  if (popup_) popup_->popup(event->globalPos());
}

// A selection dragged past the visible part of the image scrolls it one step.
void ImageView::AutoScroll(int x, int y) {
  QScrollArea* area = Area();
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
