// Which procedure a press and a release become, through the z-order of the window.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(ClickRouting, EveryClickInTheClientAreaReachesTheLabel) {
  Game game;
  FOM& f = game.form;
  game.startFlight();
  // On the hero, on a shape, at the corners: all wing beats through the label.
  f.SHP[0]->Move(40, 40, 20, 20);
  const float points[][2] = {{0, 0}, {99.9F, 99.9F}, {f.IMG.Left() + 1, f.IMG.Top() + 1}, {45, 45}};
  int beats = 0;
  for (const auto& p : points) {
    game.click(p[0], p[1]);
    ++beats;
  }
  EXPECT_EQ(f.wingFrame, 1);
  EXPECT_EQ(f.distance, 1 + beats / 2);
  EXPECT_EQ(f.window.hitTest(f.IMG.Left() + 1, f.IMG.Top() + 1), &f.LBl);
}

TEST(ClickRouting, AClickIsAPrimaryPressAndReleaseOverTheSameControl) {
  Game game;
  FOM& f = game.form;
  game.startFlight();
  f.LBl.Move(0, 0, 100, 20);  // uncover the hero and the bare window
  f.IMG.Move(0, 50, 10, 30);

  // Released off the control: no click.
  f.pointerPressed(MouseButton::Left, 0, 5, 60);
  f.pointerReleased(MouseButton::Left, 50, 60);
  EXPECT_EQ(f.wingFrame, 1);
  // A right press on a control is no click at all.
  f.pointerPressed(MouseButton::Right, 0, 5, 60);
  f.pointerReleased(MouseButton::Right, 5, 60);
  EXPECT_EQ(f.wingFrame, 1);
  // On the hero: IMG_Click.
  f.pointerPressed(MouseButton::Left, 0, 5, 60);
  f.pointerReleased(MouseButton::Left, 6, 61);
  EXPECT_EQ(f.wingFrame, 2);
  // The window's own surface takes the press itself, for any button; the release does nothing.
  f.pointerPressed(MouseButton::Right, 0, 50, 60);
  EXPECT_EQ(f.wingFrame, 1);
  f.pointerReleased(MouseButton::Right, 50, 60);
  EXPECT_EQ(f.wingFrame, 1);
  // A hidden image catches nothing: the press falls through to the window.
  f.IMG.setVisible(false);
  f.pointerPressed(MouseButton::Left, 0, 5, 60);
  EXPECT_EQ(f.wingFrame, 2);
}

TEST(ClickRouting, TheHeroIsHiddenBehindThePictureAndTheShapesAboveBoth) {
  Game game;
  FOM& f = game.form;
  f.IMG.setVisible(true);  // even if it were visible on the title
  f.SHP[1]->setVisible(true);
  std::vector<std::string> painted;
  for (const Control* c : f.window.paintList()) {
    painted.push_back(c->name());
  }
  EXPECT_EQ(painted, (std::vector<std::string>{"IMG", "SEimg", "SHP(1)", "LBl"}));
  const std::uint64_t rev = f.window.revision();
  f.SHP[1]->setVisible(true);  // no change, no repaint
  EXPECT_EQ(f.window.revision(), rev);
  f.SHP[1]->setWidth(3);
  EXPECT_GT(f.window.revision(), rev);
}

}  // namespace
}  // namespace pirune::testing
