#include "faults.h"

#include <algorithm>
#include <cstdlib>

namespace gzsim {

const std::vector<FaultKind>& genericFaultKinds() {
  static const std::vector<FaultKind> kinds = {
      {std::string(fault::kSilent), "from this command on, nothing at all"},
      {std::string(fault::kNoEcho), "no echo; the command is not carried out"},
      {std::string(fault::kWrongEcho), "'?' in place of the echo; not carried out"},
      {std::string(fault::kShort), "the reply stops half-way"},
      {std::string(fault::kNoEnd), "the closing byte is left out"},
      {std::string(fault::kWrongEnd), "'?' in place of the closing byte"},
      {std::string(fault::kBadStore), "a write stores its last byte inverted, yet acknowledges it"},
  };
  return kinds;
}

std::optional<Fault> parseFault(const std::string& spec, const std::vector<std::string>& knownKinds) {
  const std::size_t at = spec.find('@');
  Fault f;
  f.kind = spec.substr(0, at);
  if (std::find(knownKinds.begin(), knownKinds.end(), f.kind) == knownKinds.end()) return std::nullopt;
  if (at == std::string::npos) return f;
  std::string rest = spec.substr(at + 1);
  if (rest.empty()) return std::nullopt;
  f.letter = rest[0];
  rest.erase(0, 1);
  if (rest.empty()) return f;
  if (rest[0] != '#') return std::nullopt;
  char* end = nullptr;
  f.first = std::strtol(rest.c_str() + 1, &end, 10);
  f.count = 1;
  if (*end == 'x') f.count = std::strtol(end + 1, &end, 10);
  if (*end != '\0' || f.first < 1 || f.count < 1) return std::nullopt;
  return f;
}

void FaultInjector::begin(char letter) {
  letter_ = letter;
  occurrence_ = ++counts_[static_cast<unsigned char>(letter)];
  ++total_;
}

bool FaultInjector::strikes(std::string_view kind) const {
  return std::any_of(faults_.begin(), faults_.end(), [&](const Fault& f) {
    if (f.kind != kind || (f.letter != '*' && f.letter != letter_)) return false;
    const long n = f.letter == '*' ? total_ : occurrence_;
    return n >= f.first && (f.count < 0 || n < f.first + f.count);
  });
}

}  // namespace gzsim
