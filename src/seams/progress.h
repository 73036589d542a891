#pragma once
// The progress of a long device operation: a bar, a percentage and a status
// line. The GUI shows it in a modeless dialog; pending events are processed at
// every setPos.
#include <string>

namespace wk {

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void setCaption(const std::string& caption) = 0;
  // The range becomes 0 to upper.
  virtual void setRange(int upper) = 0;
  virtual void setPos(int pos) = 0;
  virtual void setStatus(const std::string& text) = 0;
  virtual void close() = 0;
};

}  // namespace wk
