#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <set>
#include <tuple>

#include "core/oplog/effect_lines.h"
#include "core/util/arith.h"
#include "editor/replay.h"
#include "editor_test_util.h"

using namespace vorq;
using Fixture = test::EditorFixture<>;

TEST(Editor, ApplyRefusalsChangeNothing) {
  Fixture f;
  const TFastDIB before = f.Snapshot();
  EXPECT_FALSE(f.ed.bGoClick());
  EXPECT_EQ(f.ui.Messages.back(), "First Select an Effect");

  // A category node selects nothing; double-clicked, it applies nothing.
  f.ed.TreeView1Change("Blur");
  f.ed.TreeView1DblClick("Filters");
  EXPECT_EQ(f.ed.Status[kPanelEffect], "Idle...");
  f.ed.TreeView1Change("Filters");
  EXPECT_EQ(f.ed.ToolBox.Help, "Choose an effect...");
  EXPECT_TRUE(f.ed.Status[kPanelEffect] == "Idle..." && !f.ed.ToolBox.DefaultVisible);
  EXPECT_FALSE(f.ed.bGoClick());

  // A box that is not a number stops Apply before the snapshot.
  EXPECT_FALSE(f.Apply("Classic Emboss", "abc"));
  EXPECT_EQ(f.ui.Messages.back(), "'abc' is not a valid integer value");
  EXPECT_TRUE(f.ed.Undo.Empty() && f.Unchanged(before));
  EXPECT_EQ(f.ed.EffectVals[fx::ClassicEmboss], 250);

  // One pass per unit of Split Gauss's Amount: 1000 runs, 1001 is refused.
  f.ed.WorkSurface.SetSize(4, 3, 24, 0);
  f.ed.EffectVals[fx::SplitGauss] = 1001;
  f.ed.MenuEffect(fx::SplitGauss);
  EXPECT_TRUE(f.ed.Undo.Empty());
  EXPECT_NE(f.ui.Messages.back().find("at most 1000, not 1001."), std::string::npos);
  f.ed.EffectVals[fx::SplitGauss] = 1000;
  f.ed.MenuEffect(fx::SplitGauss);
  EXPECT_EQ(f.ed.Undo.Count(), 1);
}

TEST(Editor, TreeMenuAndApplyNamesAndValues) {
  Fixture f;
  f.OpenLog("vorq_editor_log.txt");
  f.ed.TreeView1Change("blur");  // letter case does not matter
  EXPECT_EQ(f.ed.EffectId, 10);
  EXPECT_EQ(f.ed.Status[kPanelEffect], "blur");

  // Gaussian Blur above 5 becomes 1, in the box too.
  EXPECT_TRUE(f.Apply("Gaussian Blur", "7"));
  EXPECT_EQ(f.ed.ToolBox.Box(Box::eAmtMain).Text, "1");

  // The menu uses the stored value, not the typed one, and records its own name.
  f.ed.TreeView1Change("Classic Emboss");
  f.ed.ToolBox.Box(Box::eAmtMain).Text = "100";
  f.ed.MenuEffect(fx::ClassicEmboss);
  f.ed.TreeView1DblClick("Hi Pass");
  f.ed.MenuEffect(fx::HiPass);
  EXPECT_EQ(f.CloseLog(),
            "Gaussian Blur, Blurriness 1\r\nClassic Emboss, Lightness 250\r\nHi Pass\r\nHiPass\r\n");
  EXPECT_EQ(f.ed.Undo.Count(), 4);
  EXPECT_TRUE(f.Apply("Gaussian Blur", "5") && f.ed.EffectVals[fx::GaussianBlur] == 5);  // 5 itself stays
}

TEST(Editor, ShowEffectShapes) {
  Fixture f;
  auto& t = f.ed.ToolBox;
  f.ed.TreeView1Change("SineWave U/D");
  f.ed.ckbxPeaksClick(false);
  EXPECT_EQ(t.Box(Box::eAmtMain).Text, "32");
  t.Box(Box::eAmtMain).Text = "40";  // Apply stores it as the wavelength
  EXPECT_TRUE(f.ed.bGoClick() && f.ed.Second[UDWavVal] == 40 && f.ed.Second[UDPeakVal] == 3);
  f.ed.ckbxPeaksClick(true);

  // Stored as their types: single precision (the phase double), flags 0 or 1, colours 24 bits.
  f.ed.StoreValue({ValueRef::Second, FishVal}, 0.1);
  f.ed.StoreValue({ValueRef::Second, WvPhsVal}, 0.1);
  f.ed.StoreValue({ValueRef::Second, HytBm}, -1);
  f.ed.StoreValue({ValueRef::Second, TrColVal}, 0x7F123456);
  EXPECT_TRUE(f.ed.Second[FishVal] == double(0.1f) && f.ed.Second[WvPhsVal] == 0.1);
  EXPECT_TRUE(f.ed.Second[HytBm] == 1 && f.ed.Second[TrColVal] == 0x123456);
  // Trace's line colour: black means "Use Pen Color" off, and the pen stays.
  f.ed.StoreValue({ValueRef::PenColor, 1}, 0x0000FF);
  f.ed.StoreValue({ValueRef::PenColor, 1}, 0);
  EXPECT_TRUE(f.ed.Second[TrUseVal] == 0 && f.ed.ToolBox.PenColor == 0x0000FF);
  f.ed.StoreValue({ValueRef::Wrap, 0}, -1);
  f.ed.StoreValue({ValueRef::TintColor, 0}, 0x7F123456);
  EXPECT_TRUE(f.ed.ToolBox.WrapChecked && f.ed.TintColor == 0x123456);
  // Settings keys: a flag is the value's low byte, a colour its low 24 bits; no 67th effect.
  EXPECT_TRUE(f.ed.SetValueByKey("TrUseVal", "256") && f.ed.Second[TrUseVal] == 0);
  EXPECT_TRUE(f.ed.SetValueByKey("Pen Color", "2147483647") && f.ed.ToolBox.PenColor == 0xFFFFFF);
  EXPECT_FALSE(f.ed.SetValueByKey("EffectVals66", "1"));

  f.ed.TreeView1Change("SineWave Both");
  // Reset restores both heights and both peak counts, not the wavelengths.
  for (int id : {fx::SineWaveUD, fx::SineWaveLR, fx::SineWaveBoth}) f.ed.EffectVals[id] = 9;
  for (SecondId s : {UDPeakVal, LRPeakVal, UDWavVal}) f.ed.Second[s] = 9;
  f.ed.btnDefaultClick();
  EXPECT_EQ(std::tuple(f.ed.EffectVals[fx::SineWaveUD], f.ed.EffectVals[fx::SineWaveLR], f.ed.Second[UDPeakVal],
                       f.ed.Second[LRPeakVal], f.ed.Second[UDWavVal]),
            std::tuple(50, 64, 3.0, 2.0, 9.0));
  EXPECT_EQ(f.ed.EffectVals[fx::SineWaveBoth], f.ed.EffectDefaults[fx::SineWaveBoth]);
  f.ed.TreeView1Change("SineWave U/D");  // its own reset takes the wavelength back too
  f.ed.btnDefaultClick();
  EXPECT_EQ(f.ed.Second[UDWavVal], 32);
  f.ed.MenuEffect(fx::SineWaveLR);  // recorded as "SineWave Left/Right"; the reset shows the tree's name
  f.ed.btnDefaultClick();
  EXPECT_EQ(t.Title, "SineWave L/R");
  f.ed.TreeView1Change("Buttonize");  // its note, and the reset button
  EXPECT_TRUE(t.NoteVisible && t.DefaultVisible);
  f.ed.WorkSurface.SetSize(61, 37, 24, 0);  // the bars reach minus and plus the width and the height
  f.ed.TreeView1Change("Scroll");
  EXPECT_TRUE(t.ScrollLRMin == -61 && t.ScrollLRMax == 61 && t.ScrollUDMin == -37 && t.ScrollUDMax == 37);
}

// Every effect from its menu item takes the one road: one snapshot, a
// refreshed view, one line that names it, the hourglass for all but the
// quick ones; Undo brings the image back, and only an undo that restored writes its line.
TEST(Editor, EveryMenuEffectTakesOneSnapshotAndWritesItsLine) {
  const std::set<int> quick = {fx::Negative,   fx::ErasetoBlack, fx::MirrorLR,  fx::MirrorUD,
                               fx::RotateAngle, fx::Gradient,     fx::ReSizeFast};
  for (const EffectInfo& e : kCatalogue) {
    test::EditorFixture<test::RecordingUi> f;
    if (!f.ed.EffectAvailable(e.Id) || e.Id == fx::Scroll) continue;
    f.ui.SizeWidth = 100;
    f.ui.SizeHeight = 80;
    f.OpenLog("vorq_every_effect.txt");
    const TFastDIB before = f.Snapshot();
    f.ed.MenuEffect(e.Id);
    EXPECT_EQ(f.ed.Undo.Count(), 1) << e.CatalogueName;
    EXPECT_GE(f.ui.ImageChanges, 1) << e.CatalogueName;
    EXPECT_EQ(f.ui.BusyOn, quick.count(e.Id) ? 0 : 1) << e.CatalogueName;
    // The filters show the tool box without a message round; the filter dialog leaves it alone.
    EXPECT_EQ(f.ui.MessageRounds == 0, e.Id <= fx::DesignYourOwn) << e.CatalogueName;
    f.ed.bUndoClick();
    EXPECT_TRUE(f.Unchanged(before)) << e.CatalogueName;
    f.ed.bUndoClick();
    const auto lines = f.CloseLogLines();
    ASSERT_EQ(lines.size(), 2u) << e.CatalogueName;
    EXPECT_EQ(lines[1], "UnDo");
    std::string name = e.RecordedName ? e.RecordedName : e.CatalogueName, start = lines[0].substr(0, name.size());
    for (std::string* t : {&name, &start}) std::transform(t->begin(), t->end(), t->begin(), ::tolower);
    EXPECT_EQ(start, name) << lines[0];  // the resize lines spell it "Resize"
  }
}

TEST(Editor, EffectLinesMatchTheirExamples) {
  Fixture f;
  auto lineOf = [&](int id, const char* name) {
    f.ed.EffectId = id;
    f.ed.EffectName = name;
    return f.ed.EffectLogLine();
  };
  EXPECT_EQ(lineOf(29, "Marble"), "Marble, Graininess 700, Scale 2, Turbulence 120");
  // The single range's end is written with 15 digits, a little above it, and read back.
  f.ed.StoreValue({ValueRef::Second, ScaleVal}, -kRealLimit);
  EXPECT_EQ(lineOf(29, "Marble"), "Marble, Graininess 700, Scale -3.40282346638529E+38, Turbulence 120");
  EXPECT_EQ(ParseEffectLine(lineOf(29, "Marble"), -1).Error, "");
  EXPECT_NE(f.ed.LogHeaderLine().find("From Color R: 0 G: 0 B: 128, To Color R: 0 G: 255 B: 255, Angle "),
            std::string::npos);
  std::string error;  // any field of a replayed designer line is the next Design's answer
  EXPECT_TRUE(f.ed.Store({ValueRef::GradientTo, 0}, Format::Integer, Int(0xFFFF00), error) && f.ed.Gradient.FromLine);
  EXPECT_EQ(lineOf(65, "Whirl/Pinch"), "Whirl/Pinch, Angle 270, Pinch 0.50, Radius 1.00");
  EXPECT_EQ(lineOf(15, "SineWave Up/Down"), "SineWave Up/Down, Peaks 3, Height 50, Wrap = True");
  EXPECT_EQ(lineOf(17, "SineWave Both"), "SineWave Both, U/D Peaks 3, U/D Height 50, L/R Peaks 2, L/R Height 64");
  EXPECT_EQ(lineOf(64, "Waves"), "Waves, Amplitude 24, Wave Length 10, Phase 8, Reflective False");
  EXPECT_EQ(lineOf(19, "FishEye"), "FishEye, Magnification 0.75");
  f.ed.ToolBox.PenColor = 0x0000FF;
  EXPECT_EQ(lineOf(61, "Trace"), "Trace, Intensity 1, Color: R: 0 G: 0 B: 0");
  f.ed.Second[TrUseVal] = 1;
  EXPECT_EQ(lineOf(61, "Trace"), "Trace, Intensity 1, Color: R: 255 G: 0 B: 0");
  EXPECT_EQ(lineOf(57, "SuperNova"),
            "SuperNova, Colors: R: 255 G: 0 B: 0, Radius 32, Spokes 64, Hue 32, X Pos: 24, Y Pos: 36");
  EXPECT_EQ(lineOf(28, "Map Texture"), "Map Texture, Brightness 18, Use Current Texture");
  // A replayed line sets the check boxes that the line is written from.
  ASSERT_EQ(ReplayLine(f.ed, "SineWave Left/Right, WaveLength 17, Height 64, Wrap = False").Status, ReplayStatus::Done);
  EXPECT_EQ(lineOf(16, "SineWave Left/Right"), "SineWave Left/Right, WaveLength 17, Height 64, Wrap = False");
}

TEST(Editor, DesignYourOwn) {
  Fixture f;
  f.OpenLog("vorq_editor_log.txt");
  const TFastDIB before = f.Snapshot();
  f.ui.AcceptFilter = false;
  f.ed.MenuEffect(fx::DesignYourOwn);
  f.ui.AcceptFilter = true;
  f.ed.Filter.eDiv = "65536";  // low 16 bits are 0
  f.ed.MenuEffect(fx::DesignYourOwn);
  EXPECT_NE(f.ui.Messages.back().find("divisor"), std::string::npos);
  f.ed.Filter.eDiv = "1";
  f.ed.Filter.e[4] = "x";
  f.ed.MenuEffect(fx::DesignYourOwn);
  EXPECT_EQ(f.ui.Messages.back(), "'x' is not a valid integer value");
  f.ed.Filter.e[4] = "-3", f.ed.Filter.eDiv = "1.5";
  f.ed.MenuEffect(fx::DesignYourOwn);
  EXPECT_EQ(f.ui.Messages.back(), "'1.5' is not a valid integer value");
  EXPECT_TRUE(f.ed.Undo.Empty() && f.Unchanged(before));
  f.ed.Filter = FilterBoxes{};
  f.ed.MenuEffect(fx::DesignYourOwn);
  EXPECT_EQ(f.ed.Undo.Count(), 1);
  EXPECT_EQ(f.ed.EffectId, -1);  // the dialog leaves the Effect id alone
  // The divisor's low 16 bits: "32769" stays 32769 (its high bit counts), so
  // every channel of a sum of at most 9 * 255 becomes 0.
  for (auto& e : f.ed.Filter.e) e = "1";
  f.ed.WorkSurface = test::Uniform(8, 8, MakePixel(200, 100, 50));
  f.ed.Filter.eDiv = "32769";
  f.ed.MenuEffect(fx::DesignYourOwn);
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(3, 3), MakePixel(0, 0, 0));
  EXPECT_EQ(f.CloseLog(),
            "Design Your Own Filter, Settings: 2 1 1 1 -3 -1 1 -1 -1 , Divisor 1\r\n"
            "Design Your Own Filter, Settings: 1 1 1 1 1 1 1 1 1 , Divisor 32769\r\n");
  // A replayed line fills the dialog's boxes, the divisor its own.
  EXPECT_EQ(ReplayLine(f.ed, "Design Your Own Filter, Settings: 0 0 0 0 1 0 0 0 0 , Divisor 7").Status,
            ReplayStatus::Done);
  EXPECT_EQ(f.ed.Filter.eDiv, "7");
}

TEST(Editor, FailingLogWriteTurnsLoggingOff) {
  Fixture f;
  ASSERT_TRUE(f.ed.Log.Open("/dev/full", false));
  f.ed.MenuEffect(fx::Blur);
  EXPECT_FALSE(f.ed.Log.Logging());
  EXPECT_NE(f.ui.Messages.back().find("Logging is now off"), std::string::npos);
  EXPECT_EQ(f.ed.Undo.Count(), 1);  // the image change itself stands

  // A disk that fills up half-way through a line: the file keeps whole lines only.
  const std::string path = f.OpenLog("vorq_editor_log.txt");
  f.ed.WriteLog("Blur");
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 10;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  f.ed.WriteLog("Gaussian Blur, Blurriness 3");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(f.ed.Log.Logging());
  EXPECT_EQ(test::ReadText(path), "Blur\r\n");

  // Appending after a line cut short (a killed writer) starts on a new line.
  std::ofstream(path, std::ios::binary | std::ios::app) << "Gaussian Bl";
  ASSERT_TRUE(f.ed.Log.Open(path, true));
  f.ed.WriteLog("Negative");
  f.ed.Log.Close();
  EXPECT_EQ(test::ReadText(path), "Blur\r\nGaussian Bl\r\nNegative\r\n");
}

TEST(Editor, LogCommandsAndScrollBars) {
  Fixture f;
  f.ed.LogPath = ::testing::TempDir() + "vorq_cmd_log.txt";
  std::remove(f.ed.LogPath.c_str());
  f.ed.CloseLog1Click();
  EXPECT_EQ(f.ui.Messages.back(), "Log already Closed");
  f.ed.LogthisSession1Click();
  f.ed.LogthisSession1Click();
  EXPECT_EQ(f.ui.Messages.back(), "Already Logging");

  // Scroll: the typed amount, one snapshot and one line per step; right and
  // down move the picture towards larger coordinates, left and up back.
  f.ed.TreeView1Change("Scroll");
  f.ed.ToolBox.Box(Box::eAmtMain).Text = "10";
  const struct {
    bool lr;
    int position, dx, dy;
  } steps[] = {{true, 1, 10, 0}, {true, 1, 0, 0}, {true, -16, -10, 0}, {false, 5, 0, 10}, {false, 3, 0, -10}};
  for (const auto& s : steps) {
    const TFastDIB before = f.Snapshot();
    s.lr ? f.ed.sbLRScroll(s.position) : f.ed.sbUDScroll(s.position);
    for (int y = 0; y < 256; y += 5)
      for (int x = 0; x < 256; x += 3)
        ASSERT_EQ(f.ed.WorkSurface.GetPixel((y + s.dy + 256) % 256, (x + s.dx + 256) % 256), before.GetPixel(y, x))
            << s.position << " at " << x << "," << y;
  }
  EXPECT_EQ(f.ed.Undo.Count(), 4);
  f.ed.bGoClick();  // Apply on Scroll stores the amount and writes nothing
  f.ed.CloseLog1Click();  // the No below finds it closed
  const std::string text = test::ReadText(f.ed.LogPath);
  EXPECT_EQ(text.substr(text.find("\r\n") + 2), "Scroll Right 10\r\nScroll Left 10\r\nScroll Down 10\r\nScroll Up 10\r\n");

  // An existing log is kept when the user says No, and appended to.
  f.ui.Answers.push_back(UiPort::Answer::No);
  f.ed.LogthisSession1Click();
  EXPECT_FALSE(f.ed.Log.Logging());
  f.ed.AppendtoLog1Click();
  f.ed.MenuEffect(fx::Blur);
  f.ed.CloseLog1Click();
  EXPECT_EQ(test::ReadText(f.ed.LogPath), text + "<=Appending to Existing Log=>\r\nBlur\r\n");
  EXPECT_EQ(f.ui.Questions.back(), "Overwrite Existing Log?");

  // Appending without a file offers a new log; No leaves logging off.
  std::remove(f.ed.LogPath.c_str());
  f.ui.Questions.clear();
  for (UiPort::Answer a : {UiPort::Answer::No, UiPort::Answer::Yes}) {
    f.ui.Answers.push_back(a);
    f.ed.AppendtoLog1Click();
    EXPECT_EQ(f.ed.Log.Logging(), a == UiPort::Answer::Yes);
  }
  EXPECT_EQ(f.ui.Questions, std::vector<std::string>(2, "File not found, starting New Log. OK?"));
  f.ed.CloseLog1Click();
  EXPECT_EQ(test::ReadText(f.ed.LogPath).rfind("Log starts  - current Gradient: ", 0), 0u);
}

// Saving: the GIF dialog keeps its selection and its Cancel says nothing; the
// editor's Save writes its JPEG quality into the file: the first two entries of
// the luminance table are libjpeg's 16 and 11 scaled by 5000 / 37, rounded.
TEST(Editor, SaveKeepsTheGifSelectionAndWritesTheJpegQuality) {
  struct GifUi : test::RecordingUi {
    std::vector<int> Seen;
    int Answer = 1;
    int AskGifTransparency(const GifPalette&, int& index) override {
      Seen.push_back(index);
      index = 3;
      return Answer;
    }
  };
  test::EditorFixture<GifUi> f;
  f.ed.GifShowDialog = true;
  const std::string gif = ::testing::TempDir() + "vorq_dialog.gif";
  EXPECT_EQ(f.ed.SaveImage(gif), gif);
  f.ui.Answer = 0;
  EXPECT_EQ(f.ed.SaveImage(gif), "");
  EXPECT_EQ(f.ui.Seen, (std::vector<int>{256, 3}));
  EXPECT_TRUE(f.ui.Messages.empty());
  // A blank start of the largest size and no larger; the scratch image follows.
  EXPECT_FALSE(f.ed.StartBlank(16385, 1));
  EXPECT_TRUE(f.ed.StartBlank(7, 3));
  EXPECT_EQ(f.ed.ScratchSurface.Width(), 7);

  f.ed.JpegQuality = 37;
  const std::string path = ::testing::TempDir() + "vorq_quality_37";
  EXPECT_EQ(f.ed.SaveImage(path), path + ".jpg");  // no extension: a JPEG
  const std::string jpeg = test::ReadText(path + ".jpg");
  const size_t dqt = jpeg.find("\xFF\xDB");
  ASSERT_NE(dqt, std::string::npos);
  EXPECT_EQ(jpeg.substr(dqt + 4, 3), std::string("\0\x16\x0F", 3)) << "8-bit table 0: 22, 15";
  // The saved file serves as a replayed texture source; the buffer is taken once
  // per run, and each run starts from the current texture.
  std::string error, file = "Use File " + path + ".jpg";
  f.OpenLog("vorq_texture_sources.txt");
  f.ui.AcceptTexture = false;  // Cancel: no snapshot, no line
  f.ed.MenuEffect(fx::MapTexture);
  f.ui.AcceptTexture = true;
  ASSERT_TRUE(f.ed.SetPendingTexture("Use Buffer", error));
  f.ed.MenuEffect(fx::MapTexture);
  EXPECT_EQ(f.ui.Messages, std::vector<std::string>{"The buffer holds no image to use as the texture."});
  EXPECT_TRUE(f.ed.Undo.Empty());
  EXPECT_TRUE(f.ed.SetPendingTexture(file, error)) << error;
  f.ed.BufferFilled = true;
  f.ed.MenuEffect(fx::MapTexture);
  f.ed.MenuEffect(fx::MapTexture);
  EXPECT_EQ(f.CloseLogLines(), (std::vector<std::string>{"Map Texture, Brightness 18, " + file,
                                                         "Map Texture, Brightness 18, Use Current Texture"}));
  f.ed.BufferSurface = test::Uniform(1, 1, MakePixel(200, 0, 0));  // grey (77 * 200) >> 8
  ASSERT_TRUE(f.ed.UseBufferAsTexture());
  EXPECT_EQ(f.ed.Texture.GetPixel(0, 0), MakePixel(60, 60, 60));
  EXPECT_EQ(f.ed.SaveImage(::testing::TempDir() + "vorq_no_such_folder/a.bmp"), "");
  EXPECT_EQ(f.ui.Messages.size(), 2u) << "the reason a save failed is shown";
}

// New, Reset, the clipboard and the buffer: what each puts where, its snapshot and its line.
TEST(Editor, ImageBufferAndClipboardCommands) {
  Fixture f(6, 4);
  f.OpenLog("vorq_image_commands.txt");
  CopySurface(f.ed.WorkSurface, f.ed.ResetSurface);
  const TFastDIB start = f.Snapshot();
  f.ed.PasteBuffertoImage1Click();  // the buffer has not received an image yet
  EXPECT_FALSE(f.ed.OpenImage(::testing::TempDir() + "vorq_no_such_file.bmp"));
  EXPECT_TRUE(f.ed.Undo.Empty()) << "neither the empty buffer nor an unreadable file takes a snapshot";
  f.ed.Copy1Click();
  f.ed.ToolBox.BrushColor = 0x0A0B0C;
  f.ed.New1Click();
  EXPECT_EQ(test::Count(f.ed.WorkSurface, MakePixel(0x0C, 0x0B, 0x0A)), 24);
  f.ed.CopyImagetoBuffer1Click();
  f.ed.ReplaceImage1Click();  // the clipboard: the start image again
  EXPECT_TRUE(f.Unchanged(start));
  f.ui.Clipboard = test::Uniform(2, 3, MakePixel(1, 2, 3));
  f.ed.PasteClipboardtoBuffer1Click();
  f.ui.Clipboard = TFastDIB();
  f.ed.CopyBuffertoClipboard1Click();
  EXPECT_EQ(f.ui.Clipboard.Height(), 3);
  f.ed.Reset1Click();
  EXPECT_TRUE(f.Unchanged(start));
  f.ed.PasteBuffertoImage1Click();
  EXPECT_EQ(f.ed.WorkSurface.Width(), 2);
  EXPECT_EQ(f.ed.Undo.Count(), 4) << "New, the paste into the image, Reset, the buffer's paste";
  const std::string bmp = f.ed.SaveImage(::testing::TempDir() + "vorq_image_commands.bmp");
  EXPECT_TRUE(f.ed.LoadBufferFromFile(bmp));
  EXPECT_EQ(f.CloseLogLines(),
            (std::vector<std::string>{"Copy Image to Clipboard", "New Image, Color R: 12 G: 11 B: 10",
                                      "Copy Image to Buffer", "Paste Clipboard to Image", "Paste Clipboard to Buffer",
                                      "Copy Buffer to Clipboard", "Image Reset", "Paste Buffer to Image",
                                      "Load Buffer from File " + bmp}));
}
