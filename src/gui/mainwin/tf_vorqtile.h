// The main window: menus, tool bar, effects tree, status bar and the image.
// It holds the editor and answers the editor's questions with real dialogs.
#pragma once

#include <atomic>
#include <functional>

#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>

#include "core/imageio/image_file.h"
#include "editor/conveniences.h"
#include "editor/editor.h"
#include "gui/mainwin/document_state.h"

class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QProgressBar;
class QShortcut;
class QMenu;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorq::gui {

class FloatingText;
class ImageView;
class CanvasControls;
class LoggingPanel;
class TfAbout;
class TfELog;
class TfLog;
class TfText;
class TfFilter;
class TfGif;
class TfGradient;
class TfGradMulti;
class TfJPGComp;
class TfTexture;
class TfPrint;
class TfTester;
class TfToolBox;
class TfrmSizer;

class TfVorqTile : public QMainWindow, public UiPort {
  Q_OBJECT
 public:
  explicit TfVorqTile(QWidget* parent = nullptr);
  ~TfVorqTile() override;

  Editor& editor() { return editor_; }
  TfToolBox* toolBox() const { return toolBox_; }
  TfFilter* filterDialog() const { return filter_; }
  TfJPGComp* jpgDialog() const { return jpgComp_; }
  TfGif* gifDialog() const { return gif_; }
  TfrmSizer* sizerDialog() const { return sizer_; }
  TfPrint* printDialog() const { return print_; }
  // The file the image belongs to and whether it changed since.
  const DocumentState& document() const { return document_; }
  TfTester* tester() const { return tester_; }
  // The buffer's 65 x 65 thumbnail in the left panel.
  QLabel* bufferThumb() const { return imBuffer; }
  QTreeWidget* tree() const { return TreeView1; }
  ImageView* imageView() const { return imSine; }
  QLabel* statusPanel(int panel) const { return panels_[size_t(panel)]; }
  LoggingPanel* loggingPanel() const { return loggingPanel_; }
  QAction* action(const QString& name) const;
  // "VorqTile.ini" in the folder for the program's files; fixed at creation.
  const QString& settingsPath() const { return settingsPath_; }
  // The folder the open and save dialogs start in.
  const QString& defaultDirectory() const { return defaultDirectory_; }
  void setDefaultDirectory(const QString& folder) { defaultDirectory_ = folder; }

  // Text tool, log windows and About box.
  FloatingText* floatingText() const { return imText; }
  TfText* textDialog() const { return text_; }
  TfLog* logViewer() const { return log_; }
  TfELog* logEditor() const { return elog_; }
  TfAbout* aboutBox() const { return about_; }
  // Image Save As with the dialog preset to a file name in Default Directory.
  bool SaveImageAs(const QString& presetName);
  // The name the last image save dialog was preset with.
  const QString& savePreset() const { return savePreset_; }


  // An image file to load once the window is first on screen.
  void SetStartImage(const QString& path) { startImage_ = path; }

  // Hooks that replace the modal boxes, so scripted runs never wait on a person.
  using MessageSink = std::function<void(const QString&)>;
  using AskHandler = std::function<Answer(const QString&, bool withCancel)>;
  using FileChooser = std::function<QString(bool forSave)>;  // empty when cancelled
  using ColorChooser = std::function<bool(uint32_t& colour)>;
  void setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
  void setAskHandler(AskHandler ask) { askHandler_ = std::move(ask); }
  void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
  void setColorChooser(ColorChooser chooser) { colorChooser_ = std::move(chooser); }

  bool ToolBoxShown = false;

  // ---- conveniences (conveniences_ui.cpp) ----
  const Conveniences& conveniences() const { return conveniences_; }
  // Opens an image as File > Open does (same checks, Default Directory, recent list).
  bool OpenImageFile(const QString& path);
  void SetStandardShortcuts(bool standard);
  void SetToolBoxDocked(bool docked);
  QDockWidget* toolBoxDock() const { return toolDock_; }
  // Selects the current effect's node in the tree without running anything.
  void FollowEffectInTree();
  // ---- end conveniences ----

  // ---- long effects (effect_progress.cpp) ----
  bool Progress(int64_t done, int64_t total) override;
  void ProgressEnded() override;
  bool CanStop() const override { return true; }
  // Runs an effect's pixels on a worker thread while the window keeps its
  // messages; the canvas shows the picture as it was until the end.
  void RunWork(const std::function<void()>& work) override;
  // Esc and the status bar's Cancel: the running effect stops, the image stays as it was.
  void CancelEffect();
  QProgressBar* effectProgress() const { return progress_; }

  // UiPort
  void ShowMessage(const std::string& text) override;
  Answer Ask(const std::string& text, bool withCancel) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  bool EditFilter(FilterBoxes& boxes) override;
  bool EditSize(SizerState& state) override;
  // index: the selection shown, and the swatch last clicked afterwards.
  int AskGifTransparency(const GifPalette& palette, int& index) override;
  bool ChooseColor(uint32_t& colour) override;
  bool ChooseTexture() override;
  TfTexture* textureDialog() const { return texture_; }
  void ImageChanged() override;
  void ToolBoxChanged() override;
  void StatusChanged() override;
  void Notice(const std::string& text) override;
  void UndoChanged() override;
  void LoggingChanged() override;
  void SetBusy(bool busy) override;
  void ProcessMessages() override;
  void BufferChanged() override;
  void SetClipboardImage(const TFastDIB& image) override;
  bool ClipboardImage(TFastDIB& image) override;

 signals:
  // The first-show work is done: the tool box is up and the start image loaded.
  void FirstShown();

 public slots:
  void Open1Click();
  bool SaveAs1Click();
  void Exit1Click();
  void UnDo1Click();
  void About1Click();
  void bToolsClick();
  void bGoClick();
  void bUndoClick();
  void bExpandClick();
  void SetJPGCompression2Click();
  void ChangeUndoQuantity1Click();
  void LoadBufferfromFile1Click();
  void CopyImagetoBuffer1Click();
  void PasteBuffertoImage1Click();
  void MergeBufferWithImage1Click();
  void CopyBuffertoClipboard1Click();
  void Copy1Click();
  void ReplaceImage1Click();
  void imBufferDblClick();
  void TestTiles1Click();
  // Printing, wallpaper, help (gui/output).
  void Print1Click();
  void SetAsWallpaper1Click();
  void Contents1Click();
  void PrintShortcutKeyList1Click();
  void ViewLog1Click();
  void EditLog1Click();

  // ---- gradients (gradient_hooks.cpp) ----
 public:
  QLabel* gradientThumb() const { return imGrad; }
  TfGradient* gradientDialog() const { return gradient_; }
  TfGradMulti* multiGradientDialog() const { return gradMulti_; }
  bool EditGradient(GradientState& state) override;
  bool EditMultiGradient(MultiGradientState& state) override;
  void GradientChanged() override;
 public slots:
  void Design1Click();
  void PasteToImage1Click();
  void MergeWithImage1Click();
  void imGradDblClick();
 private:
  void CreateGradientCommands();  // after the menus, tool bar and left panel
  void StartGradient();           // the first-show step
  TfGradient* gradient_ = nullptr;
  TfGradMulti* gradMulti_ = nullptr;
  QLabel* imGrad = nullptr;
  QLabel* lblGrad = nullptr;
  // ---- end of gradients ----

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateMenus();
  void CreateEffectsMenu(QMenu* effects);
  void CreateToolBar();
  void CreateStatusBar();
  QWidget* CreateLeftPanel();
  void FillTree();
  void FirstShow();
  bool ConfirmClose();
  void TreeView1Change(QTreeWidgetItem* current);
  void TreeView1DblClick(QTreeWidgetItem* item);
  void imSineMouseMove(int x, int y);
  // The open or save dialog, started in Default Directory unless told otherwise.
  QString ChooseFile(bool forSave, bool inDefaultDirectory = true);
  void LoadSettings();
  bool SaveSettings();
  // Conveniences: menu items, drop targets; settings and the first-start size.
  void CreateConveniences();
  void CreateProgress();
  void LoadConveniences(const IniFile& ini);
  void FillRecentMenu();
  void AddRecent(const QString& path);
  void Save1Click();
  bool DropEvent(QObject* watched, QEvent* event);
  // The image now matches path: title without the modified mark.
  void SetDocument(const QString& path);

  Editor editor_{*this};
  TfToolBox* toolBox_ = nullptr;
  TfFilter* filter_ = nullptr;
  TfTexture* texture_ = nullptr;
  TfJPGComp* jpgComp_ = nullptr;
  TfGif* gif_ = nullptr;
  TfrmSizer* sizer_ = nullptr;
  TfPrint* print_ = nullptr;
  TfTester* tester_ = nullptr;  // a window of its own, deleted with this one
  QLabel* imBuffer = nullptr;
  ImageView* imSine = nullptr;
  QTreeWidget* TreeView1 = nullptr;
  QToolButton* bExpand = nullptr;
  QToolButton* bUndo = nullptr;
  QAction* PromptforSaveAtTermination1 = nullptr;
  QAction* SaveImagewithLogFileName1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QActionGroup* penModes_ = nullptr;
  std::array<QLabel*, kStatusPanelCount> panels_{};
  LoggingPanel* loggingPanel_ = nullptr;
  FloatingText* imText = nullptr;
  CanvasControls* canvas_ = nullptr;  // View menu, zoom and seam panels
  TfText* text_ = nullptr;
  TfLog* log_ = nullptr;
  TfELog* elog_ = nullptr;
  TfAbout* about_ = nullptr;
  QString savePreset_;

  int busy_ = 0;
  bool firstShown_ = false;
  // Messages raised while the window is being created wait until it is on screen.
  bool creating_ = true;
  QStringList pendingMessages_;
  QString settingsPath_;
  QString defaultDirectory_;
  QString startImage_;
  DocumentState document_;
  MessageSink messageSink_;
  AskHandler askHandler_;
  FileChooser fileChooser_;
  ColorChooser colorChooser_;
  Conveniences conveniences_;
  QMenu* recentMenu_ = nullptr;
  QDockWidget* toolDock_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QToolButton* cancel_ = nullptr;
  QShortcut* escape_ = nullptr;
  QObject* gate_ = nullptr;  // swallows input while an effect runs
  QElapsedTimer effectClock_, pumpClock_;
  std::atomic<bool> cancelRequested_{false};
  std::atomic<int64_t> workDone_{0}, workTotal_{0};  // the worker's latest report
  void StartEffectUi();
  void ShowProgress(int64_t done, int64_t total);

  // ---- Paste As Selection and Paste Transparent (paste_hooks.cpp) ----
 public:
  class PasteSelection* pasteSelection() const { return pPaste; }
  class TfTrans* transDialog() const { return trans_; }
  bool EditTransparent(TransparentOptions& options) override;
  void AsSelection1Click();
  void Transparent1Click();

 private:
  void CreatePasteCommands();
  class PasteSelection* pPaste = nullptr;
  class TfTrans* trans_ = nullptr;
  // ---- end of the paste commands ----
};

}  // namespace vorq::gui
