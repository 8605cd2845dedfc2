#include "gui/dialogs/tf_texture.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/effects/textures.h"
#include "editor/editor.h"

namespace vorq::gui {

namespace {
constexpr int kPreviewSide = 105;
}

TfTexture::TfTexture(Editor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName("TfTexture");
  setWindowTitle("Map Texture");
  imTexture = new QLabel(this);
  imTexture->setObjectName("imTexture");
  imTexture->setFixedSize(kPreviewSide, kPreviewSide);
  imTexture->setFrameShape(QFrame::Box);
  auto* caption = new QLabel("Texture", this);
  caption->setAlignment(Qt::AlignHCenter);
  auto* note = new QLabel(
      "Textures must be grayscaled.  The image you select will be automatically converted to gray scale and sized "
      "to match the current Image.",
      this);
  note->setWordWrap(true);
  note->setFixedWidth(180);
  bLoadTexur = new QPushButton("Load New Texture...", this);
  bLoadTexur->setObjectName("bLoadTexur");
  bUseBufr = new QPushButton("Use Buffer as Texture", this);
  bUseBufr->setObjectName("bUseBufr");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* left = new QVBoxLayout;
  left->addWidget(imTexture);
  left->addWidget(caption);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(note);
  right->addWidget(bLoadTexur);
  right->addWidget(bUseBufr);
  right->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(right);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(buttons);

  connect(bLoadTexur, &QPushButton::clicked, this, &TfTexture::bLoadTexurClick);
  connect(bUseBufr, &QPushButton::clicked, this, &TfTexture::bUseBufrClick);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool TfTexture::Choose() {
  if (editor_.Texture.Empty()) DefaultTexture(editor_.Texture);
  ShowTexture();
  return exec() == QDialog::Accepted;
}

void TfTexture::ShowTexture() {
  const TFastDIB& t = editor_.Texture;
  if (t.Empty()) return;
  const QImage image(t.Bits, t.Width(), t.Height(), int(t.BytesPerRow), QImage::Format_BGR888);
  imTexture->setPixmap(QPixmap::fromImage(image.scaled(kPreviewSide, kPreviewSide)));
}

void TfTexture::bLoadTexurClick() {
  const QString path = QFileDialog::getOpenFileName(this, "Load New Texture", QString(),
                                                    "BMP,JPG (*.bmp *.jpg);;Pictures (*.bmp *.jpg *.jpeg *.gif *.png)");
  if (path.isEmpty()) return;
  if (editor_.LoadTexture(QFile::encodeName(path).toStdString())) ShowTexture();
}

void TfTexture::bUseBufrClick() {
  if (editor_.UseBufferAsTexture()) ShowTexture();
}

}  // namespace vorq::gui
