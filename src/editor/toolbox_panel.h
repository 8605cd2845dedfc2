// The state of the tool box's parameter panel. The editor configures it
// (ShowEffect) and reads it back (Apply); the Qt tool box only mirrors it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/effects/catalogue.h"
#include "core/effects/seamless.h"

namespace vorq {

struct EditBoxState {
  std::string Text;
  std::string Label;
  bool Visible = false;
};

struct ToolBoxPanel {
  std::string Title;                       // lblEffect
  std::string Help = "Choose an effect...";  // lblHelp
  // eAmtMain, eAmtSecond, ePeaks2, eHeight2, eYPos with their labels.
  std::array<EditBoxState, kEditBoxCount> Boxes{{{"250", "lblMain", false},
                                                 {"64", "lblSecond", false},
                                                 {"3", "lblPeaks2", false},
                                                 {"64", "L/R Height", false},
                                                 {"24", "Y Pos", false}}};
  bool PeaksChecked = true, PeaksVisible = false;  // ckbxPeaks "Use Peaks"
  bool WrapChecked = true, WrapVisible = false;    // ckbxWrap "Wrap"
  bool BumpChecked = true, BumpVisible = false;    // cbBump
  // cbSeams: which seams Seamless Edge and Edge Merge join; the choice
  // takes effect at once, like "Wrap".
  SeamAxis Seams = SeamAxis::Both;
  bool SeamsVisible = false;
  std::string BumpCaption = "Bump Map";
  bool NoteVisible = false;     // lblBtn, Buttonize's note
  bool ScrollVisible = false;   // sbLR and sbUD
  int ScrollLRMin = -100, ScrollLRMax = 100, ScrollUDMin = -100, ScrollUDMax = 100;
  int ScrollLRPos = 0, ScrollUDPos = 0;
  bool DefaultVisible = false;  // btnDefault "D"

  // Painting controls at the top of the tool box (colours are 0x00BBGGRR).
  uint32_t PenColor = 0x000000;
  uint32_t BrushColor = 0xFFFFFF;
  int FillTolerance = 0;  // flood fill: 0 fills only the exact colour
  std::string PenSize = "2";

  EditBoxState& Box(vorq::Box b) { return Boxes[static_cast<size_t>(b)]; }
  const EditBoxState& Box(vorq::Box b) const { return Boxes[static_cast<size_t>(b)]; }
};

}  // namespace vorq
