#include "diagnostics_handler.h"

#include <cstdlib>

#include "config_handler.h"

namespace gzsim {
namespace {

// A number 0..255 filling the whole of text.
bool byteValue(const std::string& text, int& value) {
  if (text.empty() || text.size() > 3) return false;
  char* end = nullptr;
  const long n = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || n < 0 || n > 255 || text[0] == '-' || text[0] == '+') return false;
  value = static_cast<int>(n);
  return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = text.find(separator, at);
    parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) return parts;
    at = end + 1;
  }
}

}  // namespace

DiagnosticsHandler::DiagnosticsHandler(ConfigHandler& config) : config_(config) {
  health_.fill(-1);
  // A mix an installer meets: a 1k line, zones, open, shorted, and one input
  // wandering through every range.
  const char* defaults[kInputs] = {"128", "150", "175", "136", "255", "85", "10", "80..230"};
  for (std::size_t i = 0; i < kInputs; ++i) {
    std::string why;
    parseInput(defaults[i], inputs_[i], why);
  }
}

int DiagnosticsHandler::Input::next() {
  const int reading = now;
  if (low != high) {
    if (now + step > high || now + step < low) step = -step;
    now += step;
  }
  return reading;
}

bool DiagnosticsHandler::parseInput(const std::string& spec, Input& input, std::string& why) {
  const std::size_t dots = spec.find("..");
  int low = 0, high = 0;
  const bool ok = dots == std::string::npos
                      ? byteValue(spec, low) && byteValue(spec, high)
                      : byteValue(spec.substr(0, dots), low) && byteValue(spec.substr(dots + 2), high) && low <= high;
  if (!ok) {
    why = "bad reading '" + spec + "': a value 0..255 or a range LOW..HIGH";
    return false;
  }
  input = Input{low, high, low, 1};
  return true;
}

std::vector<Option> DiagnosticsHandler::options() const {
  return {
      {"--health", "N,N,...",
       "the health counters at EE-Data 974..981 (up to eight values 0..255,\n"
       "an empty one keeps its counter), set over what the state file holds"},
      {"--inputs", "R,R,...",
       "the raw readings of inputs 1 to 8 (up to eight), each a value 0..255\n"
       "or LOW..HIGH: a slow sweep, one step per 'a', up and back down\n"
       "(default 128,150,175,136,255,85,10,80..230)"},
      {"--input", "I=R", "the reading of input I (1..8) alone, as in --inputs (repeatable)"},
  };
}

bool DiagnosticsHandler::setOption(const std::string& name, const std::string& value, std::string& why) {
  if (name == "--health") {
    const auto parts = split(value, ',');
    if (parts.size() > kCounters) {
      why = "--health takes at most eight counters";
      return false;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (parts[i].empty()) continue;
      int v = 0;
      if (!byteValue(parts[i], v)) {
        why = "bad counter '" + parts[i] + "' for --health: a value 0..255";
        return false;
      }
      health_[i] = v;
    }
    return true;
  }
  if (name == "--inputs") {
    const auto parts = split(value, ',');
    if (parts.size() > kInputs) {
      why = "--inputs takes at most eight readings";
      return false;
    }
    for (std::size_t i = 0; i < parts.size(); ++i)
      if (!parseInput(parts[i], inputs_[i], why)) return false;
    return true;
  }
  if (name == "--input") {
    const std::size_t eq = value.find('=');
    int input = 0;
    if (eq != 1 || !byteValue(value.substr(0, 1), input) || input < 1 || input > static_cast<int>(kInputs)) {
      why = "bad input '" + value + "' for --input: I=R with I 1..8";
      return false;
    }
    return parseInput(value.substr(2), inputs_[static_cast<std::size_t>(input - 1)], why);
  }
  why = "not an option of this handler";
  return false;
}

void DiagnosticsHandler::ready() {
  const auto ee = config_.ee();
  for (std::size_t i = 0; i < kCounters; ++i)
    if (health_[i] >= 0) ee[kHealthAddress + i] = static_cast<std::uint8_t>(health_[i]);
}

void DiagnosticsHandler::handle(Exchange& x) {
  if (x.letter() != 'a') return;
  Bytes readings;
  for (Input& input : inputs_) readings.push_back(static_cast<std::uint8_t>(input.next()));
  if (x.fault(fault::kShort)) readings.resize(kShortReadings);
  x.put(readings);
  std::string line = "a";
  for (std::uint8_t r : readings) line += format(" %u", static_cast<unsigned>(r));
  x.trace(line);
}

}  // namespace gzsim
