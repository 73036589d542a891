#pragma once
// The seams a device command needs, handed down together from the front end.
namespace wk {

class Prompter;
class Settings;
class Clock;

struct Seams {
  Prompter& prompter;
  Settings& settings;
  Clock& clock;
};

}  // namespace wk
