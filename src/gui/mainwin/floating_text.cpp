#include "gui/mainwin/floating_text.h"

#include <QMouseEvent>
#include <QPixmap>

#include "core/oplog/log_format.h"
#include "editor/editor.h"
#include "editor/text_tool.h"
#include "gui/dialogs/tf_text.h"
#include "gui/mainwin/image_view.h"
#include "gui/text/text_render.h"

namespace vorq::gui {

FloatingText::FloatingText(Editor& editor, ImageView* view, TfText* dialog, MessageSink showMessage)
    : QLabel(view), editor_(editor), view_(view), dialog_(dialog), showMessage_(std::move(showMessage)) {
  setObjectName("imText");
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);
  setAttribute(Qt::WA_TranslucentBackground);
  hide();
}

void FloatingText::Start(int x, int y) {
  TextToolLine line = line_;
  if (!dialog_->Edit(line)) return;
  Float(line, x, y);
}

bool FloatingText::Float(const TextToolLine& line, int x, int y) {
  // An empty text places nothing.
  if (line.Text.empty()) return false;
  if (const std::string problem = TextLineProblem(line); !problem.empty()) {
    if (showMessage_) showMessage_("The text cannot be placed: " + problem + ".");
    return false;
  }
  line_ = line;
  const QImage image = RenderFloatingText(line_);
  setPixmap(QPixmap::fromImage(image));
  resize(image.size());
  move(x, y);
  show();
  raise();
  placing_ = true;
  return true;
}

void FloatingText::mouseMoveEvent(QMouseEvent* event) {
  // The image under the text does not see this move.
  event->accept();
  if (placing_) {
    const QPoint at = event->position().toPoint();
    move(x() + at.x() - width() / 2, y() + at.y() - height() / 2);
    const QPoint image = view_->ToImage(pos());
    editor_.Status[kPanelX] = "X: " + FormatInt(image.x());
    editor_.SetStatus(kPanelY, "Y: " + FormatInt(image.y()));
  }
}

void FloatingText::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (placing_) Commit();
}

void FloatingText::Commit() {
  placing_ = false;
  hide();
  TextToolLine line = line_;
  // The label sits on the screen; the text lands at the image pixel under its corner.
  const QPoint at = view_->ToImage(pos());
  line.X = at.x();
  line.Y = at.y();
  view_->Painting().State.Dragging = false;
  std::string message;
  if (!CommitText(editor_, line, message) && showMessage_) showMessage_("The text was not drawn: " + message + ".");
}

}  // namespace vorq::gui
