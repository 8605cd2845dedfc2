// vorqtile-cli: replays recipes (log lines) on an image without windows.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/effects/catalogue.h"
#include "core/effects/seam_meter.h"
#include "core/imageio/image_file.h"
#include "core/oplog/effect_lines.h"
#include "core/oplog/log_format.h"
#include "core/util/random.h"
#include "editor/editor.h"
#include "editor/replay.h"
#include "editor/scripted_ui.h"
#include "editor/settings.h"
#include "editor/text_tool.h"

using namespace vorq;

namespace {

const char* kUsage =
    "usage: vorqtile-cli [--input FILE | --new WxH] [--buffer FILE] [--seed N] [--settings FILE]\n"
    "                    [--set KEY=VALUE]... [--recipe FILE] [--log FILE] [--tile NxM] [--quiet] [LINE]...\n"
    "                    --output FILE  (or --seam-report in place of, or beside, --output)\n"
    "       --quiet: no progress bar on a terminal's standard error\n"
    "       vorqtile-cli --list\n";

// The scripted port with a progress line for a terminal: "[line 3/10] Twist  42%",
// redrawn in place at most every 100 ms and only when the percent moved, and
// wiped when the line's effect ends.
class BatchUi final : public ScriptedUi {
 public:
  bool ShowProgress = false;

  void BeginLine(size_t n, size_t count, const std::string& line) {
    std::string name = line.substr(0, line.find(','));
    if (name.size() > 40) name.resize(40);
    label_ = "[line " + std::to_string(n) + "/" + std::to_string(count) + "] " + name;
    percent_ = -1;
    last_ = std::chrono::steady_clock::now();  // effects shorter than one interval show nothing
  }
  bool Progress(int64_t done, int64_t total) override {
    if (!ShowProgress || total <= 0) return true;
    const int percent = int(std::clamp<int64_t>(done * 100 / total, 0, 100));
    if (percent == percent_) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return true;
    last_ = now;
    percent_ = percent;
    char text[16];
    std::snprintf(text, sizeof text, "  %3d%%", percent);
    const std::string shown = label_ + text;
    std::fprintf(stderr, "\r%s", shown.c_str());
    std::fflush(stderr);
    width_ = std::max(width_, shown.size());
    return true;
  }
  void ProgressEnded() override {
    if (width_ == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(width_, ' ').c_str());
    std::fflush(stderr);
    width_ = 0;
    percent_ = -1;
  }

 private:
  std::string label_;
  int percent_ = -1;
  size_t width_ = 0;  // of the longest text drawn since the last wipe
  std::chrono::steady_clock::time_point last_;
};

int Fail(int status, const std::string& message) {
  std::cerr << "vorqtile-cli: " << message << "\n";
  return status;
}

std::string ParamText(const EffectInfo& e, const Editor& ed) {
  std::string s;
  for (int i = 0; i < e.ParamCount; ++i) {
    const Param& f = e.Params[size_t(i)];
    if (!f.Shown()) continue;
    s += std::string(s.empty() ? "" : ", ") + f.Label + " = " + FormatParam(f, ed.Read(f.Ref, f.format));
    if (f.AltLabel)
      s += std::string(" (or ") + f.AltLabel + " = " + FormatValue(f.format, ed.Read(f.AltRef, f.format)) + ")";
  }
  return s;
}

bool ParseSize(const std::string& text, int& w, int& h) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  auto pw = ParseInt(text.substr(0, x)), ph = ParseInt(text.substr(x + 1));
  if (!pw || !ph) return false;
  w = *pw;
  h = *ph;
  return SizeAllowed(w, h);
}

// Opening the log truncates it, so it may not be a file the run reads or
// writes. Returns the clash ("" when none): same path, or the same file
// under another name.
std::string LogClash(const std::string& log, const std::vector<std::pair<std::string, std::string>>& files) {
  namespace fs = std::filesystem;
  auto canonical = [](const std::string& p) {
    std::error_code ec;
    fs::path c = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? fs::path() : c;
  };
  const fs::path l = canonical(log);
  for (const auto& [option, file] : files) {
    if (file.empty()) continue;
    std::error_code ec;
    if ((!l.empty() && canonical(file) == l) || fs::equivalent(log, file, ec))
      return "--log " + log + " is also the " + option + " file; the log would overwrite it. Choose another log file.";
  }
  return {};
}

// The lines of a recipe file (a regular file of at most 16 MiB).
bool ReadRecipe(const std::string& path, std::vector<std::pair<std::string, std::string>>& into, std::string& error) {
  std::string text;
  if (!ReadTextFile(path, text, error)) return false;
  size_t start = 0;
  for (int n = 1; start < text.size(); ++n) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    into.emplace_back(path + ":" + std::to_string(n), text.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

#ifdef VORQ_TEXT_MODULE
// The text drawing from its module, loaded on the first call; the module is
// never unloaded (Qt keeps state in it until the process ends).
TextRenderer TextModuleRenderer() {
  struct Loaded {
    bool Tried = false;
    TextRenderer Draw;
    std::string Failure;
  };
  auto loaded = std::make_shared<Loaded>();
  return [loaded](TFastDIB& surface, const TextToolLine& line, std::string& message) {
    if (!loaded->Tried) {
      loaded->Tried = true;
      std::error_code ec;
      const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
      void* module = nullptr;
      for (const std::filesystem::path& at : {self.parent_path() / VORQ_TEXT_MODULE,
                                              self.parent_path() / VORQ_TEXT_MODULE_DIR / VORQ_TEXT_MODULE})
        if (!ec && (module = dlopen(at.c_str(), RTLD_NOW | RTLD_LOCAL)) != nullptr) break;
      using Make = void (*)(TextRenderer*);
      if (Make make = module ? reinterpret_cast<Make>(dlsym(module, "VorqMakeTextRenderer")) : nullptr) make(&loaded->Draw);
      if (!loaded->Draw) {
        const char* why = dlerror();
        loaded->Failure = std::string("text cannot be drawn here: the text module " VORQ_TEXT_MODULE " did not load") +
                          (why ? std::string(" (") + why + ")" : std::string());
      }
    }
    if (!loaded->Draw) {
      message = loaded->Failure;
      return false;
    }
    return loaded->Draw(surface, line, message);
  };
}
#endif

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "--version") {
      std::cout << "vorqtile-cli " VORQ_VERSION "\n";
      return 0;
    }
#ifdef VORQ_TEXT_MODULE
  // Text lines need fonts: QtGui on the offscreen platform, loaded and
  // started by the first text line and ended when main returns.
  SetTextRenderer(TextModuleRenderer());
  struct DropRenderer {
    ~DropRenderer() { SetTextRenderer({}); }
  } dropRenderer;
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string input, newSize, buffer, settings, recipe, output, logPath, tile;
  std::vector<std::string> sets, lines;
  bool list = false, seamReport = false, quiet = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    std::string v;
    if (a == "--list") list = true;
    else if (a == "--seam-report") seamReport = true;
    else if (a == "--quiet") quiet = true;
    else if (a == "--help" || a == "-h") { std::cout << kUsage; return 0; }
    else if (a == "--input") { if (!value(input)) return Fail(2, "--input needs a file\n" + std::string(kUsage)); }
    else if (a == "--new") { if (!value(newSize)) return Fail(2, "--new needs WxH"); }
    else if (a == "--buffer") { if (!value(buffer)) return Fail(2, "--buffer needs a file"); }
    else if (a == "--settings") { if (!value(settings)) return Fail(2, "--settings needs a file"); }
    else if (a == "--recipe") { if (!value(recipe)) return Fail(2, "--recipe needs a file"); }
    else if (a == "--output") { if (!value(output)) return Fail(2, "--output needs a file"); }
    else if (a == "--tile") { if (!value(tile)) return Fail(2, "--tile needs NxM"); }
    else if (a == "--log") { if (!value(logPath)) return Fail(2, "--log needs a file"); }
    else if (a == "--seed") {
      if (!value(v) || !ParseInt(v)) return Fail(2, "--seed needs a number");
      FixSeed(uint32_t(*ParseInt(v)));
    } else if (a == "--set") {
      if (!value(v)) return Fail(2, "--set needs KEY=VALUE");
      sets.push_back(v);
    } else if (a.rfind("--", 0) == 0) return Fail(2, "unknown option " + a + "\n" + kUsage);
    else lines.push_back(a);
  }

  BatchUi ui;
  ui.ShowProgress = !quiet && isatty(2);
  Editor ed(ui);
  if (list) {
    for (const auto& e : kCatalogue)
      std::cout << e.Id << "\t" << e.CatalogueName << "\t" << CategoryName(e.category) << "\t"
                << (e.RecordedName ? e.RecordedName : "-") << "\t" << ParamText(e, ed) << "\n";
    return 0;
  }
  if (output.empty() && !seamReport) return Fail(2, "--output is required\n" + std::string(kUsage));
  if (!input.empty() && !newSize.empty()) return Fail(2, "give --input or --new, not both");
  int tileX = 1, tileY = 1;
  if (!tile.empty() && !ParseSize(tile, tileX, tileY)) return Fail(2, "--tile needs NxM with N, M >= 1, got " + tile);

  std::string error;
  // Numbered lines: the recipe's first, then those given as arguments.
  std::vector<std::pair<std::string, std::string>> all;  // (where, line)
  if (!recipe.empty() && !ReadRecipe(recipe, all, error)) return Fail(1, error);
  for (size_t i = 0; i < lines.size(); ++i) all.emplace_back("argument line " + std::to_string(i + 1), lines[i]);

  // The whole run is known before it starts: keep only what its lines can come back to.
  ReplayNeeds needs;
  for (const auto& [where, line] : all) needs.Add(line);
  ed.KeepResetCopy = needs.Reset;

  // The editor's own start-up: the image as the first argument would load it.
  if (!input.empty()) {
    if (!ed.LoadStartImage(input)) return Fail(1, ui.Messages.empty() ? "cannot read " + input : ui.Messages.back());
  } else if (!newSize.empty()) {
    int w, h;
    if (!ParseSize(newSize, w, h) || !ed.StartBlank(w, h))
      return Fail(2, "--new needs WxH between 1x1 and 16384x16384, got " + newSize);
  }
  if (!buffer.empty() && !ed.LoadBufferFromFile(buffer))
    return Fail(1, ui.Messages.empty() ? "cannot read " + buffer : ui.Messages.back());
  if (!settings.empty()) {
    std::string text;
    if (!ReadTextFile(settings, text, error)) return Fail(1, error);
    std::string warning;
    LoadEditorSettings(ed, IniFile::Parse(text), nullptr, &warning);
    if (!warning.empty()) std::cerr << "vorqtile-cli: warning: " << settings << ": " << warning << "\n";
  }
  for (const auto& s : sets) {
    const size_t eq = s.find('=');
    if (eq == std::string::npos || !ed.SetValueByKey(s.substr(0, eq), s.substr(eq + 1)))
      return Fail(2, "--set " + s + ": unknown key or malformed value");
  }
  ed.SetUndoDepth(std::min(ed.Undo.Levels(), needs.Undos));

  // The log is opened only now, when everything it could clash with has been read.
  if (!logPath.empty()) {
    const std::string clash = LogClash(logPath, {{"--input", input}, {"--recipe", recipe}, {"--output", output},
                                                 {"--settings", settings}, {"--buffer", buffer}});
    if (!clash.empty()) return Fail(2, clash);
    if (!ed.Log.Open(logPath, false)) return Fail(1, ed.Log.Error());
    ed.WriteLog(ed.LogHeaderLine());
    if (!ed.Log.Logging()) return Fail(1, ed.Log.Error());
  }

  for (size_t n = 0; n < all.size(); ++n) {
    const auto& [where, line] = all[n];
    ui.BeginLine(n + 1, all.size(), line);
    ui.Messages.clear();
    ui.Notices.clear();
    ReplayOutcome r;
    ed.Guarded([&] { r = ReplayLine(ed, line); });  // a command without memory is refused with a message
    // A log that can no longer be written is a file error, whatever the line did.
    if (!logPath.empty() && !ed.Log.Logging()) return Fail(1, where + ": " + ed.Log.Error());
    for (const std::string& n : ui.Notices) std::cerr << "vorqtile-cli: note: " << where << ": " << n << "\n";
    if (r.Status != ReplayStatus::Error && !r.Message.empty())
      std::cerr << "vorqtile-cli: warning: " << where << ": " << r.Message << "\n  in: " << line << "\n";
    if (r.Status == ReplayStatus::Error)
      return Fail(2, where + ": " + r.Message + "\n  in: " + line);
    if (!ui.Messages.empty()) return Fail(2, where + ": " + ui.Messages.front() + "\n  in: " + line);
  }
  if (!ed.Log.Close()) return Fail(1, ed.Log.Error());
  // The seams of the final image itself, before any --tile layout.
  if (seamReport) std::cout << "seams: " << SeamReportText(MeasureSeams(ed.WorkSurface)) << "\n";
  if (output.empty()) return 0;
  const TFastDIB* result = &ed.WorkSurface;
  TFastDIB tiled;
  if (tileX > 1 || tileY > 1) {
    // The final image laid tileX x tileY times, for a look at the seams.
    const int64_t w = int64_t(ed.WorkSurface.Width()) * tileX, h = int64_t(ed.WorkSurface.Height()) * tileY;
    if (!SizeAllowed(w, h) || !tiled.SetSize(int(w), int(h), 24, 0))
      return Fail(2, "--tile " + tile + " makes a " + std::to_string(w) + " x " + std::to_string(h) +
                         " image, larger than 16384 x 16384 or 2^28 pixels");
    ed.WorkSurface.TileDraw(tiled, 0, 0, int(w), int(h));
    result = &tiled;
  }
  SaveOptions options;  // JPEG at 90, GIF without a transparent colour
  if (!SaveImageFile(output, *result, options, error)) return Fail(1, error);
  return 0;
}
