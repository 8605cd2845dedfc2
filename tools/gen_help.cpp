// Writes the program's help pages from the effect catalogue at build time:
//   vorq_gen_help OUTDIR README.md VERSION
// OUTDIR/index.html: every effect with its menu place, shortcut, parameters
// and defaults, the recipe language and the batch tool (taken from the
// README's "The batch tool" section); OUTDIR/shortcuts.html: the shortcut
// key list that Options > Print Shortcut Key List prints.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/effects/catalogue.h"
#include "core/oplog/effect_lines.h"

using namespace vorq;

namespace {

std::string Html(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A field's default as the tool box first shows it.
std::string DefaultText(const ValueRef& ref, Format format) {
  const double v = ref.kind == ValueRef::Main     ? kCatalogue[size_t(ref.Index)].Default
                   : ref.kind == ValueRef::Second ? kSecondParams[size_t(ref.Index)].Default
                                                  : 0;
  if (format == Format::Flag) return v != 0 ? "checked" : "not checked";
  if (ref.kind == ValueRef::SeamAxis) return std::string(ChoiceText(kSeamAxes, int(v)));
  return FormatValue(format, Real(v));
}

const std::vector<Category> kMenuOrder = {Category::Color, Category::Distortions, Category::Draw, Category::Filters,
                                          Category::SizeAspect};

std::string Anchor(const EffectInfo& e) { return "effect-" + std::to_string(e.Id); }

// The effects of one category as the tree lists them: by name.
std::vector<const EffectInfo*> Sorted(Category c) {
  std::vector<const EffectInfo*> list;
  for (const EffectInfo& e : kCatalogue)
    if (e.category == c) list.push_back(&e);
  auto lower = [](std::string s) {
    for (char& ch : s) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return s;
  };
  std::sort(list.begin(), list.end(),
            [&](const EffectInfo* a, const EffectInfo* b) { return lower(a->CatalogueName) < lower(b->CatalogueName); });
  return list;
}

const char* kStyle =
    "<style>\n"
    "body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.4; }\n"
    "h1, h2 { color: #173366; } h3 { color: #1f6f8a; border-bottom: 1px solid #cfd8e3; }\n"
    "h4 { margin-bottom: 0.2em; } .where { margin-top: 0; color: #444; }\n"
    "kbd, code { font-family: monospace; background: #eef2f6; padding: 0 0.25em; }\n"
    "pre { background: #eef2f6; padding: 0.5em; overflow-x: auto; }\n"
    "table { border-collapse: collapse; } th, td { border: 1px solid #b8c4d2; padding: 0.15em 0.5em; "
    "text-align: left; }\n"
    "th { background: #e3eaf2; }\n"
    "</style>\n";

// ---- the README's batch tool section, from its few Markdown forms ----

std::string Inline(const std::string& text) {
  std::string out;
  bool code = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '`') {
      out += code ? "</code>" : "<code>";
      code = !code;
    } else {
      out += Html(std::string_view(&text[i], 1));
    }
  }
  if (code) out += "</code>";
  return out;
}

std::string MarkdownSection(const std::string& readme, const std::string& heading) {
  std::istringstream in(readme);
  std::string line, out, paragraph;
  bool inside = false, fence = false, list = false;
  auto flush = [&] {
    if (!paragraph.empty()) out += "<p>" + Inline(paragraph) + "</p>\n";
    paragraph.clear();
  };
  auto endList = [&] {
    if (list) out += "</ul>\n";
    list = false;
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("## ", 0) == 0 && !fence) {
      if (inside) break;
      inside = line.substr(3) == heading;
      continue;
    }
    if (!inside) continue;
    if (line.rfind("```", 0) == 0) {
      flush();
      endList();
      out += fence ? "</pre>\n" : "<pre>";
      fence = !fence;
    } else if (fence) {
      out += Html(line) + "\n";
    } else if (line.empty()) {
      flush();
      endList();
    } else if (line.rfind("* ", 0) == 0) {
      flush();
      if (!list) out += "<ul>\n";
      list = true;
      out += "<li>" + Inline(line.substr(2)) + "</li>\n";
    } else if (list && line.rfind("  ", 0) == 0) {
      out.insert(out.size() - 6, " " + Inline(line.substr(2)));  // a list item's next line
    } else {
      paragraph += (paragraph.empty() ? "" : " ") + line;
    }
  }
  flush();
  endList();
  return out;
}

// ---- the pages ----

void EffectEntry(std::ostream& out, const EffectInfo& e) {
  out << "<h4 id=\"" << Anchor(e) << "\">" << Html(e.CatalogueName) << "</h4>\n";
  out << "<p class=\"where\">Effects &#9656; " << Html(CategoryName(e.category)) << " &#9656; "
      << Html(e.MenuCaption);
  if (e.Shortcut && *e.Shortcut) out << " &nbsp; <kbd>" << Html(e.Shortcut) << "</kbd>";
  out << "</p>\n";
  if (e.ShownCount() == 0) {
    out << "<p>No parameters.</p>\n";
    return;
  }
  out << "<table>\n<tr><th>Parameter</th><th>Default</th></tr>\n";
  for (int i = 0; i < e.ParamCount; ++i) {
    const Param& f = e.Params[size_t(i)];
    if (!f.Shown()) continue;
    out << "<tr><td>" << Html(f.Label);
    if (f.AltLabel) out << " (with &ldquo;Use Peaks&rdquo; checked)";
    out << "</td><td>" << DefaultText(f.Ref, f.format) << "</td></tr>\n";
    if (f.AltLabel)
      out << "<tr><td>" << Html(f.AltLabel) << " (with &ldquo;Use Peaks&rdquo; not checked)</td><td>"
          << DefaultText(f.AltRef, f.format) << "</td></tr>\n";
  }
  out << "</table>\n";
  if (e.HelpText && *e.HelpText) out << "<p>Tool box hint: " << Html(e.HelpText) << "</p>\n";
}

void WriteContents(std::ostream& out, const std::string& readme, const std::string& version) {
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>VorqTile " << Html(version)
      << " Help</title>\n"
      << kStyle << "</head>\n<body>\n";
  out << "<h1>VorqTile " << Html(version) << " Help</h1>\n";
  out << "<p>VorqTile makes seamless tiles, textures and desktop wallpapers. Contents:</p>\n<ul>\n"
         "<li><a href=\"#working\">Working with an image</a></li>\n"
         "<li><a href=\"#effects\">The effects</a></li>\n"
         "<li><a href=\"#recipes\">Recipes: the log language</a></li>\n"
         "<li><a href=\"#batch\">The batch tool</a></li>\n"
         "<li><a href=\"shortcuts.html\">Shortcut keys</a></li>\n</ul>\n";

  out << "<h2 id=\"working\">Working with an image</h2>\n"
         "<p>The program starts with a black 256 &times; 256 image. Open a BMP, JPEG, GIF or PNG file with "
         "File &#9656; Open, or name it when starting the program. Choose an effect in the tree on the left or in "
         "the Effects menu: the menu runs it at once with its stored parameters, the tree shows its parameters in "
         "the tool box, where you change them and press Apply (a double click or Enter in the tree applies too). "
         "Edit &#9656; UnDo takes back the last change. Image &#9656; Test Tiles shows the image laid as tiles, "
         "so the seams show; Image &#9656; Seamless mends them. Image &#9656; Set As Wallpaper makes the image the "
         "desktop's tiled wallpaper; File &#9656; Print... prints it at screen size, at a size in inches, across "
         "the page or as a CD cover.</p>\n"
         "<p>The tool box's hints give each parameter's useful range; values outside it are used as they "
         "are.</p>\n";

  out << "<h2 id=\"effects\">The effects</h2>\n<p>" << kEffectCount
      << " effects in five groups, as the tree lists them:</p>\n";
  for (Category c : kMenuOrder) {
    out << "<p><b>" << Html(CategoryName(c)) << ":</b> ";
    bool first = true;
    for (const EffectInfo* e : Sorted(c)) {
      out << (first ? "" : ", ") << "<a href=\"#" << Anchor(*e) << "\">" << Html(e->CatalogueName) << "</a>";
      first = false;
    }
    out << "</p>\n";
  }
  for (Category c : kMenuOrder) {
    out << "<h3>" << Html(CategoryName(c)) << "</h3>\n";
    for (const EffectInfo* e : Sorted(c)) EffectEntry(out, *e);
  }

  out << "<h2 id=\"recipes\">Recipes: the log language</h2>\n"
         "<p>While File &#9656; Log is on, every command that changes the image or the buffer adds one line to "
         "the log file <code>VorqLog.txt</code>. The log tells how a tile was made, and it is a recipe: edit it "
         "and replay it with the batch tool.</p>\n"
         "<ul>\n"
         "<li>A line is the command's name followed by pairs of a label and a value, each pair introduced by a "
         "comma and a blank: <code>Classic Emboss, Lightness 250</code>.</li>\n"
         "<li>Numbers always use a point for decimals: <code>FishEye, Magnification 0.75</code>. Colours read "
         "<code>R: 255 G: 128 B: 0</code>; check boxes <code>True</code> or <code>False</code>.</li>\n"
         "<li>The labels are those of the effect's own log line: start a log, run the effect once and read "
         "it. A value a line leaves out keeps its stored one.</li>\n"
         "<li><code>UnDo</code> takes back the command before it.</li>\n"
         "</ul>\n";

  out << "<h2 id=\"batch\">The batch tool</h2>\n" << MarkdownSection(readme, "The batch tool");
  out << "<p>See also the manual page: <code>man vorqtile-cli</code>.</p>\n";
  out << "</body>\n</html>\n";
}

void WriteShortcuts(std::ostream& out, const std::string& version) {
  // Plain table markup, so the printed page looks the same as the browser's.
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>VorqTile Shortcut Keys"
         "</title>\n"
      << kStyle << "</head>\n<body>\n";
  out << "<h2>VorqTile " << Html(version) << " Shortcut Keys</h2>\n";
  out << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
         "<tr><th>Key</th><th>Command</th><th>Menu</th></tr>\n";
  auto row = [&](const std::string& key, const std::string& command, const std::string& menu) {
    out << "<tr><td><kbd>" << Html(key) << "</kbd></td><td>" << Html(command) << "</td><td>" << menu
        << "</td></tr>\n";
  };
  row("Ctrl+Z", "UnDo", "Edit");
  row("Ctrl+C", "Copy", "Edit");
  row("Ctrl+V", "Replace Image", "Edit &#9656; Paste");
  for (Category c : kMenuOrder)
    for (const EffectInfo& e : kCatalogue)
      if (e.category == c && e.Shortcut && *e.Shortcut)
        row(e.Shortcut, e.MenuCaption, "Effects &#9656; " + Html(CategoryName(c)));
  out << "</table>\n</body>\n</html>\n";
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
  f.close();
  if (f) return true;
  std::cerr << "vorq_gen_help: cannot write " << path << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: vorq_gen_help OUTDIR README.md VERSION\n";
    return 2;
  }
  const std::string dir = argv[1], version = argv[3];
  std::ifstream readmeFile(argv[2], std::ios::binary);
  if (!readmeFile) {
    std::cerr << "vorq_gen_help: cannot read " << argv[2] << "\n";
    return 1;
  }
  std::stringstream readme;
  readme << readmeFile.rdbuf();

  std::ostringstream contents, shortcuts;
  WriteContents(contents, readme.str(), version);
  WriteShortcuts(shortcuts, version);
  return WriteFile(dir + "/index.html", contents.str()) && WriteFile(dir + "/shortcuts.html", shortcuts.str()) ? 0
                                                                                                               : 1;
}
