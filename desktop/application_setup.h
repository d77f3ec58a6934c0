#pragma once
// What the application says about itself to the desktop, and the language of its boxes.

class QApplication;

namespace pirune::desktop {

// Name, version and desktop entry of the game; the boxes' buttons in Japanese ("キャンセル").
// Answers whether the Japanese translation of the toolkit was found.
bool setUpApplication(QApplication& app);

}  // namespace pirune::desktop
