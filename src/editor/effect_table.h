// The editor's effect table: for each Effect id the road its command takes,
// a check made before the snapshot, and the routine that changes the pixels
// with the stored values. Adding an effect is its pixel routine in core, one
// catalogue row and one row here.
#pragma once

#include <cstdint>

namespace vorq {

class Editor;

enum class Road : uint8_t {
  Busy,        // hourglass, snapshot, pixels, refresh; then name, tool box and line
  Quiet,       // the same without the hourglass
  OwnLine,     // the routine takes its snapshot and writes its own line (the resize
               // dialogs); the menu writes no effect line, Apply the bare name
  Dialog,      // Design Your Own: the dialog logs its line; the menu keeps the Effect id
  SelectOnly,  // Scroll: the menu only selects, Apply only stores; no line at all
};

// What a check before the snapshot decides.
enum class Gate : uint8_t {
  Go,        // run
  Refused,   // nothing happens (the check showed why)
  Recorded,  // no pixels change, but the command counts: name, tool box, line
};

struct EffectRow {
  Road road = Road::Busy;
  Gate (*Check)(Editor&) = nullptr;  // nullptr: always Go
  void (*Pixels)(Editor&) = nullptr;  // nullptr: not available in this version
  bool NoMessageRound = false;        // the filters show the tool box without letting messages run
  bool Asks = false;                  // the check asks or opens a dialog: no live preview
};

const EffectRow& EffectRowOf(int id);

}  // namespace vorq
