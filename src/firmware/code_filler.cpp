#include "firmware/code_filler.h"

namespace wk::firmware {

CodeFiller& CodeFiller::program() {
  static CodeFiller filler;
  return filler;
}

}  // namespace wk::firmware
