// The log file's two windows: the viewer (not modal, read-only, follows
// the log while logging goes on) and the editor (modal; saves the file back).
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QFileSystemWatcher;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace vorq::gui {

class TfVorqTile;

// Prints lines in Times New Roman 10 points, one printed line each (a line
// wider than the page goes on below), breaking pages as they fill.
void PrintLines(QPrinter& printer, const QStringList& lines);

class LogWindow : public QDialog {
  Q_OBJECT
 public:
  // The text save dialog ("Save 'sWeft99 Log"): the chosen file, or empty.
  using FileChooser = std::function<QString(const QString& folder)>;
  // The print dialog: true to print on printer.
  using PrinterChooser = std::function<bool(QPrinter& printer)>;
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  void setPrinterChooser(PrinterChooser chooser) { choosePrinter_ = std::move(chooser); }

  QPlainTextEdit* Memo() const { return mLog; }
  // The text's lines; none when the text is empty.
  QStringList Lines() const;
  // Reads the log file into the text; false (after a message) when it cannot.
  bool Load();

 public slots:
  void bPrintClick();

 protected:
  LogWindow(TfVorqTile* main, const char* name, const QString& caption, bool readOnly);
  // The save dialog and the write; the chosen path, or empty when nothing was written.
  QString SaveLinesAs();
  void Message(const QString& text);

  TfVorqTile* main_;
  QPlainTextEdit* mLog = nullptr;
  QPushButton* bOK = nullptr;
  QPushButton* bSaveAs = nullptr;
  QPushButton* bPrint = nullptr;
  QPushButton* bCancel = nullptr;

 private:
  FileChooser chooseFile_;
  PrinterChooser choosePrinter_;
};

// "View 'sWeft99 Log File".
class TfLog : public LogWindow {
  Q_OBJECT
 public:
  explicit TfLog(TfVorqTile* main);

 public slots:
  void bRefreshClick();
  void bSaveAsClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void FollowFile();
  QPushButton* bRefresh = nullptr;
  QFileSystemWatcher* watcher_ = nullptr;
};

// "Edit 'sWeft99 Log File".
class TfELog : public LogWindow {
  Q_OBJECT
 public:
  explicit TfELog(TfVorqTile* main);
  bool Modified() const { return modified_; }

 public slots:
  void bOKClick();
  void bCancelClick();
  void bSaveAsClick();
  // Closing any other way than OK and Cancel asks about unsaved changes.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool modified_ = false;
  bool loading_ = false;
};

}  // namespace vorq::gui
