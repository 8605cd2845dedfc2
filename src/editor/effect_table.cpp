// One row per Effect id. A row's routine reads the stored values (and the
// tool box's live check boxes and colours, where the effect takes them).
#include "editor/effect_table.h"

#include <array>
#include <string>
#include <utility>

#include "core/effects/bevels.h"
#include "core/effects/colour.h"
#include "core/effects/distortions.h"
#include "core/effects/filters.h"
#include "core/effects/geometry.h"
#include "core/effects/mosaics.h"
#include "core/effects/seamless.h"
#include "core/effects/smears.h"
#include "core/effects/textures.h"
#include "editor/commands/geometry.h"
#include "editor/commands/gradient.h"
#include "editor/editor.h"

namespace vorq {
namespace {

using E = Editor;

// ---- Filters ----

template <int Id>
void FixedKernel(E& ed) {
  static const FixedFilter* const f = FindFixedFilter(Id);
  Convolve3x3(f->Kernel, f->Divisor, ed.WorkSurface);
}

// ---- Distortions ----

// A sine height limited to the image is shown in the tool box's second box.
void ShowLimitedHeight(E& ed, int stored, int used) {
  if (used == stored) return;
  ed.ToolBox.Box(Box::eAmtSecond).Text = std::to_string(used);
  ed.Ui().ToolBoxChanged();
}

void SineUD(E& ed) {
  const bool peaks = ed.ToolBox.PeaksChecked;
  const int stored = ed.EffectVals[fx::SineWaveUD];
  ShowLimitedHeight(ed, stored,
                    SineWaveUD(ed.WorkSurface, ed.ScratchSurface, stored, ed.Second[peaks ? UDPeakVal : UDWavVal],
                               peaks, ed.ToolBox.WrapChecked));
}

void SineLR(E& ed) {
  const bool peaks = ed.ToolBox.PeaksChecked;
  const int stored = ed.EffectVals[fx::SineWaveLR];
  ShowLimitedHeight(ed, stored,
                    SineWaveLR(ed.WorkSurface, ed.ScratchSurface, stored, ed.Second[peaks ? LRPeakVal : LRWavVal],
                               peaks, ed.ToolBox.WrapChecked));
}

Gate CircularCheck(E& ed) {
  if (ed.WorkSurface.Width() == 256 && ed.WorkSurface.Height() == 256) return Gate::Go;
  return ed.Ui().Ask("Circular only works correctly with a 256 x 256 image. OK?", false) == UiPort::Answer::Yes
             ? Gate::Go
             : Gate::Refused;
}

// ---- Color ----

// The dialog starts from the last chosen colour. Cancelled, nothing changes
// and no snapshot is taken, but the command still counts as run.
Gate TintCheck(E& ed) {
  uint32_t colour = ed.TintColor;
  if (!ed.Ui().ChooseColor(colour)) return Gate::Recorded;
  ed.TintColor = colour & 0xFFFFFFu;
  return Gate::Go;
}

// ---- Textures ----

// The texture is chosen before the snapshot: the buffer once per run, then
// the dialog (or, replayed, the line's source); Cancel changes nothing.
Gate MapTextureDialog(E& ed) {
  ed.TextureSource = "Use Current Texture";
  if (ed.Texture.Empty()) DefaultTexture(ed.Texture);
  if (!ed.TextureFromBufferDone && ed.BufferFilled) {
    ed.TextureFromBufferDone = true;
    ed.UseBufferAsTexture();
  }
  const std::string pending = std::exchange(ed.PendingTextureSource, std::string());
  if (pending == "Use Buffer") {
    if (!ed.UseBufferAsTexture()) {
      ed.Ui().ShowMessage("The buffer holds no image to use as the texture.");
      return Gate::Refused;
    }
  } else if (pending.rfind("Use File ", 0) == 0) {
    if (!ed.LoadTexture(pending.substr(9))) return Gate::Refused;
  } else if (pending == "Use Current Texture") {
    ed.TextureSource = pending;
  }
  return ed.Ui().ChooseTexture() ? Gate::Go : Gate::Refused;
}

// ---- Size/Aspect ----

// ReSize Fast and Smooth ask for the size first; Cancel does nothing.
Gate SetSizeDialog(E& ed) {
  SizerShow(ed.Sizer, ed.WorkSurface.Width(), ed.WorkSurface.Height());
  return ed.Ui().EditSize(ed.Sizer) ? Gate::Go : Gate::Refused;
}

void ResizeToChosenSize(E& ed, bool smooth) {
  const int w = ed.Sizer.NewWidth, h = ed.Sizer.NewHeight;
  const std::string err = smooth ? ResizeSmoothTo(ed, w, h) : ResizeFastTo(ed, w, h);
  if (!err.empty()) ed.Ui().ShowMessage(err);
}

// One pass per unit of the Amount: beyond the bound it is refused, not run for days.
Gate SplitGaussCheck(E& ed) {
  const int amount = ed.EffectVals[fx::SplitGauss];
  if (amount <= kMaxSplitGaussAmount) return Gate::Go;
  ed.Ui().ShowMessage("Split Gauss runs one pass per unit of its Amount; the Amount must be at most " +
                      std::to_string(kMaxSplitGaussAmount) + ", not " + std::to_string(amount) + ".");
  return Gate::Refused;
}

Gate SquareCheck(E& ed) {
  if (ed.WorkSurface.Width() == ed.WorkSurface.Height()) return Gate::Go;
  ed.Ui().ShowMessage("Image must be square.  ReSize and try again.");
  return Gate::Refused;
}

void RotateAngle(E& ed) {
  TFastDIB& work = ed.WorkSurface;
  if (!ed.ScratchSurface.Reshape(work.Width(), work.Height())) return;
  RotateWrapped(work, ed.ScratchSurface, work.Width() / 2, work.Height() / 2, ed.EffectVals[fx::RotateAngle]);
  work.Swap(ed.ScratchSurface);
}

constexpr EffectRow Row(Road road, void (*pixels)(E&), Gate (*check)(E&) = nullptr) {
  return {road, check, pixels, false};
}
constexpr EffectRow Busy(void (*pixels)(E&), Gate (*check)(E&) = nullptr) { return Row(Road::Busy, pixels, check); }
constexpr EffectRow Quiet(void (*pixels)(E&)) { return Row(Road::Quiet, pixels); }
constexpr EffectRow Filter(void (*pixels)(E&)) { return {Road::Busy, nullptr, pixels, true}; }
constexpr EffectRow Unavailable() { return {}; }
constexpr EffectRow Asking(EffectRow r) {
  r.Asks = true;
  return r;
}



std::array<EffectRow, kEffectCount> Build() {
  std::array<EffectRow, kEffectCount> t{};
  t[fx::SoftenMore] = Filter(FixedKernel<fx::SoftenMore>);
  t[fx::SoftenLess] = Filter(FixedKernel<fx::SoftenLess>);
  t[fx::EdgeEnhanceMore] = Filter(FixedKernel<fx::EdgeEnhanceMore>);
  t[fx::EdgeEnhanceLess] = Filter(FixedKernel<fx::EdgeEnhanceLess>);
  t[fx::EdgeEmbossMore] = Filter(FixedKernel<fx::EdgeEmbossMore>);
  t[fx::EdgeEmbossLess] = Filter(FixedKernel<fx::EdgeEmbossLess>);
  t[fx::HiPass] = Filter(FixedKernel<fx::HiPass>);
  t[fx::Sharpen] = Filter(FixedKernel<fx::Sharpen>);
  t[fx::Laplace] = Filter(FixedKernel<fx::Laplace>);
  t[fx::Blur] = Filter(FixedKernel<fx::Blur>);
  t[fx::FindEdges] = Filter(FixedKernel<fx::FindEdges>);
  t[fx::GaussianSoft] = Filter(FixedKernel<fx::GaussianSoft>);
  t[fx::ClassicEmboss] = Filter([](E& ed) { vorq::ClassicEmboss(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::ClassicEmboss]); });
  t[fx::GaussianBlur] = Filter([](E& ed) { GaussianBlurCommand(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::GaussianBlur]); });
  t[fx::DesignYourOwn] = Row(Road::Dialog, [](E& ed) { ed.DesignYourOwn1Click(); });
  t[fx::SplitBlur] = Busy([](E& ed) { vorq::SplitBlur(ed.WorkSurface, ed.EffectVals[fx::SplitBlur]); });
  t[fx::SplitGauss] =
      Busy([](E& ed) { vorq::SplitGauss(ed.WorkSurface, ed.EffectVals[fx::SplitGauss]); }, SplitGaussCheck);

  t[fx::SineWaveUD] = Busy(SineUD);
  t[fx::SineWaveLR] = Busy(SineLR);
  t[fx::SineWaveBoth] = Busy([](E& ed) {
    vorq::SineWaveBoth(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::SineWaveUD], ed.EffectVals[fx::SineWaveLR],
                       ed.Second[LRPeakVal], ed.Second[UDPeakVal]);
  });
  t[fx::Twist] = Busy([](E& ed) { vorq::Twist(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::Twist]); });
  t[fx::FishEye] = Busy([](E& ed) { vorq::FishEye(ed.WorkSurface, ed.ScratchSurface, float(ed.Second[FishVal])); });
  t[fx::Circular] = Asking(Busy([](E& ed) { vorq::Circular(ed.WorkSurface, ed.ScratchSurface); }, CircularCheck));
  t[fx::Astroid] = Busy([](E& ed) { vorq::Astroid(ed.WorkSurface, ed.EffectVals[fx::Astroid]); });
  t[fx::RippleTooth] = Busy([](E& ed) { vorq::RippleTooth(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::RippleTooth]); });
  t[fx::Waves] = Busy([](E& ed) {
    vorq::Waves(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::Waves], int(ed.Second[WvLenVal]), ed.Second[WvPhsVal],
                ed.Second[WvRflVal] != 0);
  });
  t[fx::WhirlPinch] = Busy([](E& ed) {
    vorq::WhirlPinch(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::WhirlPinch], ed.Second[WhPchVal], ed.Second[WhRadVal]);
  });

  t[fx::ColorRotate] = Busy([](E& ed) { vorq::ColorRotate(ed.WorkSurface, ed.EffectVals[fx::ColorRotate]); });
  t[fx::Negative] = Quiet([](E& ed) { vorq::Negative(ed.WorkSurface); });
  t[fx::Brighten] = Busy([](E& ed) { vorq::Brighten(ed.WorkSurface); });
  t[fx::Lighten] = Busy([](E& ed) { vorq::Lighten(ed.WorkSurface); });
  t[fx::Tint] = Asking(Busy([](E& ed) { vorq::Tint(ed.WorkSurface, ed.TintColor); }, TintCheck));
  t[fx::GrayScale] = Busy([](E& ed) { GrayScaleSurface(ed.WorkSurface); });
  t[fx::ErasetoBlack] = Quiet([](E& ed) { EraseToBlack(ed.WorkSurface); });
  t[fx::ExchangeColor] = Busy([](E& ed) {
    vorq::ExchangeColor(ed.WorkSurface, ed.ToolBox.PenColor, ed.ToolBox.BrushColor, ed.EffectVals[fx::ExchangeColor]);
  });

  t[fx::ReSizeFast] = Row(Road::OwnLine, [](E& ed) { ResizeToChosenSize(ed, false); }, SetSizeDialog);
  t[fx::ReSizeSmooth] = Row(Road::OwnLine, [](E& ed) { ResizeToChosenSize(ed, true); }, SetSizeDialog);
  t[fx::Rotate90] = Busy([](E& ed) { Rotate90Clockwise(ed.WorkSurface, ed.ScratchSurface); });
  t[fx::MirrorLR] = Quiet([](E& ed) { ed.WorkSurface.FlipHorizontal(); });
  t[fx::MirrorUD] = Quiet([](E& ed) { ed.WorkSurface.FlipVertical(); });
  t[fx::RotateAngle] = Quiet(RotateAngle);
  t[fx::RotateSeamless] = Busy([](E& ed) { vorq::RotateSeamless(ed.WorkSurface, ed.ScratchSurface); }, SquareCheck);
  t[fx::Scroll] = Row(Road::SelectOnly, [](E&) {});
  t[fx::SeamlessEdge] = Busy([](E& ed) {
    vorq::SeamlessEdge(ed.WorkSurface, ed.EffectVals[fx::SeamlessEdge], ed.ToolBox.Seams);
  });

  // ---- Textures ----
  t[fx::PlasmaCloud] = Busy([](E& ed) { vorq::PlasmaCloud(ed.WorkSurface, ed.EffectVals[fx::PlasmaCloud]); });
  t[fx::Marble] = Busy([](E& ed) {
    vorq::Marble(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::Marble], float(ed.Second[ScaleVal]),
                 int(ed.Second[TurbVal]));
  });
  t[fx::Spray] = Busy([](E& ed) { vorq::Spray(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::Spray]); });
  t[fx::ColorNoise] = Busy([](E& ed) { vorq::ColorNoise(ed.WorkSurface, ed.EffectVals[fx::ColorNoise]); });
  t[fx::SuperNova] = Busy([](E& ed) {
    vorq::SuperNova(ed.WorkSurface, ed.EffectVals[fx::SuperNova], int(ed.Second[NovaSpok]), int(ed.Second[NovaHue]),
                    int(ed.Second[NovaX]), int(ed.Second[NovaY]), ed.ToolBox.PenColor);
  });
  t[fx::HeightMap] = Busy([](E& ed) {
    vorq::HeightMap(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::HeightMap], int(ed.Second[HytEl]),
                    int(ed.Second[HytDp]), ed.Second[HytBm] != 0);
  });
  t[fx::MapTexture] = Asking(Busy(
      [](E& ed) {
        vorq::MapTexture(ed.WorkSurface, ed.ScratchSurface, ed.Texture, ed.EffectVals[fx::MapTexture] / 10.0);
      },
      MapTextureDialog));

  // ---- Mosaics, gradients and merges ----
  // A refused size takes no snapshot, but the command still counts.
  t[fx::ConcentricRects] = Busy(
      [](E& ed) { vorq::ConcentricRects(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::ConcentricRects]); },
      [](E& ed) { return ConcentricRectsAllowed(ed.EffectVals[fx::ConcentricRects]) ? Gate::Go : Gate::Recorded; });
  t[fx::Mosaic] = Busy([](E& ed) { vorq::Mosaic(ed.WorkSurface, ed.EffectVals[fx::Mosaic]); }, [](E& ed) {
    const TFastDIB& w = ed.WorkSurface;
    return MosaicCellAllowed(ed.EffectVals[fx::Mosaic], w.Width(), w.Height()) ? Gate::Go : Gate::Recorded;
  });
  t[fx::CircleMosaic] = Busy([](E& ed) { vorq::CircleMosaic(ed.WorkSurface, ed.EffectVals[fx::CircleMosaic]); }, [](E& ed) {
    const TFastDIB& w = ed.WorkSurface;
    return MosaicCellAllowed(ed.EffectVals[fx::CircleMosaic], w.Width(), w.Height()) ? Gate::Go : Gate::Recorded;
  });
  t[fx::VorqSwizzle] = Busy([](E& ed) {
    const int stored = ed.EffectVals[fx::VorqSwizzle];
    ShowLimitedHeight(ed, stored, vorq::VorqSwizzle(ed.WorkSurface, ed.ScratchSurface, stored, ed.ToolBox.PeaksChecked,
                                                    ed.ToolBox.WrapChecked));
  });
  t[fx::CycloidMosaic] = Busy([](E& ed) { vorq::CycloidMosaic(ed.WorkSurface, ed.EffectVals[fx::CycloidMosaic]); });
  t[fx::GradientBars] = Busy([](E& ed) {
    const TVorqGradient& g = ed.Gradient.hGrad;
    vorq::GradientBars(ed.WorkSurface, ed.EffectVals[fx::GradientBars], g.BeginColor(), g.EndColor());
  });
  // Draw Gradient: the designer before the snapshot, then the paste; one line, the effect's.
  t[fx::Gradient] = Asking(Row(Road::Quiet, PasteGradientPixels,
                               [](E& ed) { return DrawGradientDesign(ed) ? Gate::Go : Gate::Refused; }));
  t[fx::MergeGradient] = Busy([](E& ed) {
    vorq::MergeGradient(ed.WorkSurface, ed.Gradient.hGrad.Paint(), ed.EffectVals[fx::MergeGradient]);
  });
  t[fx::MergeBuffer] = Busy([](E& ed) { vorq::MergeBuffer(ed.WorkSurface, ed.BufferSurface, ed.EffectVals[fx::MergeBuffer]); });

  // ---- Bevels, tracing and smears ----
  t[fx::Buttonize] = Busy([](E& ed) {
    vorq::Buttonize(ed.WorkSurface, ed.EffectVals[fx::Buttonize], ed.ToolBox.PenColor, ed.ToolBox.BrushColor);
  });
  t[fx::Trace] = Busy([](E& ed) {
    vorq::Trace(ed.WorkSurface, ed.EffectVals[fx::Trace], ed.Second[TrUseVal] != 0 ? ed.ToolBox.PenColor : 0);
  });
  t[fx::StretchBlurwithBuffer] = Busy(
      [](E& ed) {
        StretchBlurWithBuffer(ed.WorkSurface, ed.ScratchSurface, ed.BufferSurface, ed.EffectVals[fx::StretchBlurwithBuffer],
                              int(ed.Second[UDSBlurBuf]), int(ed.Second[SBlurReps]));
      },
      [](E& ed) {
        return StretchBlurChanges(ed.EffectVals[fx::StretchBlurwithBuffer], int(ed.Second[UDSBlurBuf])) ? Gate::Go
                                                                                                   : Gate::Recorded;
      });
  t[fx::StretchBlurwithSelf] = Busy(
      [](E& ed) {
        StretchBlurWithSelf(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::StretchBlurwithSelf],
                            int(ed.Second[UDSBlurSelf]), int(ed.Second[SBlurReps]));
      },
      [](E& ed) {
        return StretchBlurChanges(ed.EffectVals[fx::StretchBlurwithSelf], int(ed.Second[UDSBlurSelf])) ? Gate::Go
                                                                                                  : Gate::Recorded;
      });
  t[fx::WaterwithBuffer] = Busy([](E& ed) {
    WaterWithBuffer(ed.WorkSurface, ed.ScratchSurface, ed.BufferSurface, ed.EffectVals[fx::WaterwithBuffer],
                    int(ed.Second[UDWatBuf]));
  });
  t[fx::WaterwithSelf] = Busy([](E& ed) {
    WaterWithSelf(ed.WorkSurface, ed.ScratchSurface, ed.EffectVals[fx::WaterwithSelf], int(ed.Second[UDWatSelf]));
  });

  return t;
}

const std::array<EffectRow, kEffectCount> kRows = Build();
const EffectRow kNone = Unavailable();

}  // namespace

const EffectRow& EffectRowOf(int id) { return ValidEffect(id) ? kRows[size_t(id)] : kNone; }

}  // namespace vorq
