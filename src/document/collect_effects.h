#pragma once
// What collecting the pages does to bytes that no control shows, whatever the
// controls show. The miscellaneous page runs it in its collect step, and
// write-all after collecting the pages, so that the command line's write,
// write --backup and verify, which have no pages, send the controller the
// same bytes for the same file as the program does.
#include "document/config_image.h"

namespace wk {

// The "GSM managed" output values become 0 (the controller keeps its own;
// "SavePortsOutput" decides whether write-all sends these zeros), byte 1 of
// every notification rule keeps only its six channel flags, and bits 11..14
// of every report's word become 0.
void ApplyCollectEffects(ConfigImage& image);

}  // namespace wk
