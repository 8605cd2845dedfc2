// The Color effects (Effect ids 30 .. 37) inside the effect pipeline. The
// caller stores the values, sets the Effect id and name, syncs the tool box
// and writes the log line; here only the pixel work with its snapshot and
// repaint. Negative and Erase to Black snapshot and repaint without the
// hourglass.
#include "core/effects/colour.h"
#include "editor/editor.h"

namespace vorq {

bool HasColourEffect(int id) { return id >= 30 && id <= 37; }

bool RunColourEffect(Editor& ed, int id) {
  TFastDIB& work = ed.WorkSurface;
  auto busy = [&ed](auto&& pixels) {
    ed.BeginEffect();
    pixels();
    ed.EndEffect();
  };
  auto quiet = [&ed](auto&& pixels) {
    ed.PushUndo();
    pixels();
    ed.RefreshImage();
  };
  switch (id) {
    case 30: busy([&] { ColorRotate(work, ed.EffectVals[30]); }); return true;
    case 31: quiet([&] { Negative(work); }); return true;
    case 32: busy([&] { Brighten(work); }); return true;
    case 33: busy([&] { Lighten(work); }); return true;
    case 34: {
      // The dialog starts from the last chosen colour. Cancelled, nothing
      // changes and no snapshot is taken, but the command still counts as
      // run: its Effect id, name and log line follow as usual.
      uint32_t colour = ed.TintColor;
      if (!ed.Ui().ChooseColor(colour)) return true;
      ed.TintColor = colour & 0xFFFFFFu;
      busy([&] { Tint(work, ed.TintColor); });
      return true;
    }
    case 35: busy([&] { GrayScaleSurface(work); }); return true;
    case 36: quiet([&] { EraseToBlack(work); }); return true;
    case 37:
      busy([&] { ExchangeColor(work, ed.ToolBox.PenColor, ed.ToolBox.BrushColor, ed.EffectVals[37]); });
      return true;
    default: return false;
  }
}

}  // namespace vorq
