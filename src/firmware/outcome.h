#pragma once
namespace wk::firmware {

enum class Outcome {
  Completed,
  Busy,    // another device operation is running; nothing was done
  Failed,  // the user was told why
  BadFile, // the code file could not be read or is too short; nothing was sent
};

}  // namespace wk::firmware
