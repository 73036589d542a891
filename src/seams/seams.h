#pragma once
// The seams through which the program reaches the user and the machine,
// handed down together from the front end: messages and questions, the stored
// settings, the clock, and the serial line to the controller.
namespace wk {

class Prompter;
class Settings;
class Clock;

namespace link {
class Transport;
}

struct Seams {
  Prompter& prompter;
  Settings& settings;
  Clock& clock;
  link::Transport& transport;
};

}  // namespace wk
