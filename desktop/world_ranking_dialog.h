#pragma once
// The world ranking's top flights in a box of the game's: each one's place, name and distance,
// and a button to watch it. A name is the player's own text, shown as text and never as markup.

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

#include "world_client.h"

namespace pirune::desktop {

class WorldRankingDialog : public QDialog {
 public:
  WorldRankingDialog(const std::vector<WorldFlight>& flights, QWidget* parent);

  // The flight whose 見る closed the box; none when it was closed otherwise.
  [[nodiscard]] const std::optional<QString>& chosen() const { return chosen_; }

 private:
  std::optional<QString> chosen_;
};

}  // namespace pirune::desktop
