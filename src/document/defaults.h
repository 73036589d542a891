#pragma once
#include "document/config_image.h"

namespace wk {

// The image of a new document: all zero, then the controller's defaults.
void applyNewDocumentDefaults(ConfigImage& image);

// What a file of an unsupported version leaves in the image: every SMS record
// zero but for its source category, the EE part zero but for the channels'
// inputs. The other SEE regions are not touched.
void applyFallbackContents(ConfigImage& image);

}  // namespace wk
