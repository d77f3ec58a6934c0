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

// A picture the platform could not give the game: the file's name and why, the same words on
// every screen.
class PictureError : public RuntimeError {
 public:
  PictureError(const std::string& file, const std::string& reason)
      : RuntimeError("画像ファイル " + file + " を読み込めません: " + reason) {}
};

class OverflowError : public RuntimeError {
 public:
  OverflowError() : RuntimeError("実行時エラー '6':\nオーバーフローしました。") {}
};

}  // namespace pirune
