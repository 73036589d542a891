#pragma once
namespace wk::firmware {

enum class Outcome {
  Completed,
  Busy,    // another device operation is running; nothing was done
  Failed,  // the user was told why
};

}  // namespace wk::firmware
