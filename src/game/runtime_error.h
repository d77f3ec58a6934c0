#pragma once
// The game handles no error itself: a run-time error travels up to the session around it,
// which shows it to the player in a box titled with the game's name and ends the game.

#include <stdexcept>
#include <string>

namespace pirune {

// what() is the message shown to the player, UTF-8.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(const std::string& message) : std::runtime_error(message) {}
};

class OverflowError : public RuntimeError {
 public:
  OverflowError() : RuntimeError("実行時エラー '6':\nオーバーフローしました。") {}
};

}  // namespace pirune
