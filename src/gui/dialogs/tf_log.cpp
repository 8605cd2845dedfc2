#include "gui/dialogs/tf_log.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "editor/log_view.h"
#include "gui/mainwin/tf_vorqtile.h"
#include "gui/toolbox/tf_toolbox.h"

namespace vorq::gui {

namespace {

std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::vector<std::string> ToStd(const QStringList& lines) {
  std::vector<std::string> out;
  out.reserve(size_t(lines.size()));
  for (const QString& l : lines) out.push_back(l.toStdString());
  return out;
}

}  // namespace

void PrintLines(QPrinter& printer, const QStringList& lines) {
  QPainter p;
  if (!p.begin(&printer)) return;
  p.setFont(QFont("Times New Roman", 10));
  const QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
  int y = 0;
  for (const QString& line : lines) {
    const QRect need = p.boundingRect(QRect(0, 0, page.width(), 0), Qt::TextWrapAnywhere | Qt::TextExpandTabs,
                                      line.isEmpty() ? QStringLiteral(" ") : line);
    if (y > 0 && y + need.height() > page.height()) {
      printer.newPage();
      y = 0;
    }
    p.drawText(QRect(0, y, page.width(), need.height()), Qt::TextWrapAnywhere | Qt::TextExpandTabs, line);
    y += need.height();
  }
  p.end();
}

// ---- shared ----

LogWindow::LogWindow(TfVorqTile* main, const char* name, const QString& caption, bool readOnly)
    : QDialog(main), main_(main) {
  setObjectName(name);
  setWindowTitle(caption);
  resize(560, 400);
  mLog = new QPlainTextEdit(this);
  mLog->setObjectName("mLog");
  mLog->setReadOnly(readOnly);
  mLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  mLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto button = [this](const char* caption, const char* name) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  bOK = button("&OK", "bOK");
  bSaveAs = button("&Save As", "bSaveAs");
  bPrint = button("&Print", "bPrint");
  bCancel = button(readOnly ? "&OK" : "Cancel", "bCancel");
  connect(bPrint, &QPushButton::clicked, this, &LogWindow::bPrintClick);
  auto* column = new QVBoxLayout(this);
  column->addWidget(mLog, 1);
}

QStringList LogWindow::Lines() const {
  const QString text = mLog->toPlainText();
  if (text.isEmpty()) return {};
  return text.split('\n');
}

bool LogWindow::Load() {
  std::vector<std::string> lines;
  std::string error;
  if (!ReadLogLines(main_->editor().LogPath, lines, error)) {
    Message(QString::fromStdString(error));
    return false;
  }
  QStringList text;
  for (const std::string& l : lines) text << QString::fromStdString(l);
  mLog->setPlainText(text.join('\n'));
  return true;
}

void LogWindow::Message(const QString& text) { main_->ShowMessage(text.toStdString()); }

QString LogWindow::SaveLinesAs() {
  const QString folder = main_->defaultDirectory();
  const QString path = chooseFile_ ? chooseFile_(folder) : [&] {
    QFileDialog d(this, "Save 'sWeft99 Log", folder, "Text File (*.txt)");
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setDefaultSuffix("txt");
    return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty() ? d.selectedFiles().first() : QString();
  }();
  if (path.isEmpty()) return {};
  std::string error;
  if (!WriteLogLines(Local(path), ToStd(Lines()), error)) {
    Message(QString::fromStdString(error));
    return {};
  }
  return path;
}

void LogWindow::bPrintClick() {
  const QStringList lines = Lines();
  if (lines.isEmpty()) return;
  QPrinter printer;
  if (choosePrinter_) {
    if (!choosePrinter_(printer)) return;
  } else {
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
  }
  PrintLines(printer, lines);
}

// ---- viewer ----

TfLog::TfLog(TfVorqTile* main) : LogWindow(main, "fLog", "View 'sWeft99 Log File", true) {
  bRefresh = new QPushButton("&Refresh", this);
  bRefresh->setObjectName("bRefresh");
  bRefresh->setAutoDefault(false);
  bOK->hide();
  bCancel->setDefault(true);
  connect(bRefresh, &QPushButton::clicked, this, &TfLog::bRefreshClick);
  connect(bSaveAs, &QPushButton::clicked, this, &TfLog::bSaveAsClick);
  connect(bCancel, &QPushButton::clicked, this, &QDialog::close);
  auto* row = new QHBoxLayout;
  row->addWidget(bRefresh);
  row->addWidget(bSaveAs);
  row->addWidget(bPrint);
  row->addStretch();
  row->addWidget(bCancel);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
  // Each new line of the log shows as it is written.
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
    // A log replaced or removed meanwhile is looked at again only once it is back.
    if (QFileInfo::exists(path)) bRefreshClick();
  });
}

void TfLog::showEvent(QShowEvent* event) {
  LogWindow::showEvent(event);
  bRefreshClick();
}

void TfLog::hideEvent(QHideEvent* event) {
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  if (main_->toolBox()) main_->toolBox()->show();
  LogWindow::hideEvent(event);
}

void TfLog::FollowFile() {
  // Watched anew each time: a log replaced by the log editor is another file.
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  const QString path = QFile::decodeName(main_->editor().LogPath.c_str());
  if (isVisible() && QFileInfo::exists(path)) watcher_->addPath(path);
}

void TfLog::bRefreshClick() {
  QScrollBar* bar = mLog->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  const int at = bar->value();
  // Lines written since the last look are flushed already, so the file is read as it stands.
  Load();
  bar->setValue(atEnd ? bar->maximum() : at);
  FollowFile();
}

void TfLog::bSaveAsClick() {
  if (Lines().isEmpty()) {
    Message("Nothing to Save!");
    return;
  }
  const QString path = SaveLinesAs();
  if (path.isEmpty()) return;
  QAction* withLog = main_->action("SaveImagewithLogFileName1");
  if (!withLog || !withLog->isChecked()) return;
  main_->setDefaultDirectory(QFileInfo(path).absolutePath());
  main_->SaveImageAs(QString::fromStdString(ImageNameForLog(Local(path))));
}

// ---- editor ----

TfELog::TfELog(TfVorqTile* main) : LogWindow(main, "fELog", "Edit 'sWeft99 Log File", false) {
  setModal(true);
  bOK->setDefault(true);
  connect(bOK, &QPushButton::clicked, this, &TfELog::bOKClick);
  connect(bCancel, &QPushButton::clicked, this, &TfELog::bCancelClick);
  connect(bSaveAs, &QPushButton::clicked, this, &TfELog::bSaveAsClick);
  connect(mLog, &QPlainTextEdit::textChanged, this, [this] {
    if (!loading_) modified_ = true;
  });
  auto* row = new QHBoxLayout;
  row->addWidget(bOK);
  row->addWidget(bSaveAs);
  row->addWidget(bPrint);
  row->addStretch();
  row->addWidget(bCancel);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TfELog::showEvent(QShowEvent* event) {
  LogWindow::showEvent(event);
  if (main_->toolBox()) main_->toolBox()->hide();
  loading_ = true;
  const bool loaded = Load();
  loading_ = false;
  modified_ = false;
  // An unreadable log must not be saved back empty.
  if (!loaded) QMetaObject::invokeMethod(this, &TfELog::bCancelClick, Qt::QueuedConnection);
}

void TfELog::hideEvent(QHideEvent* event) {
  if (main_->toolBox()) main_->toolBox()->show();
  LogWindow::hideEvent(event);
}

void TfELog::bOKClick() {
  std::string error;
  if (!WriteLogLines(main_->editor().LogPath, ToStd(Lines()), error)) {
    // The edits stay on screen to be saved elsewhere.
    Message(QString::fromStdString(error));
    return;
  }
  modified_ = false;
  accept();
}

void TfELog::bCancelClick() {
  modified_ = false;
  QDialog::reject();
}

void TfELog::reject() {
  if (modified_ &&
      main_->Ask("Changes not saved.  Do you still wish to exit?", false) != UiPort::Answer::Yes)
    return;
  modified_ = false;
  QDialog::reject();
}

void TfELog::bSaveAsClick() {
  if (Lines().isEmpty()) {
    Message("Nothing to Save!");
    return;
  }
  if (!SaveLinesAs().isEmpty()) modified_ = false;
}

}  // namespace vorq::gui
