// The player's start place, its eight-way movement and the playfield walls.
#include <cmath>

#include "battle_fixture.h"
#include "key_codes.h"
#include "player.h"

namespace {

const double c = std::cos(kPi / 4);
const double s = std::sin(kPi / 4);

struct MoveCase {
  const char* name;
  std::initializer_list<int> keys;
  double dx;
  double dy;
};

class PlayerMovement : public BattleTest {};

TEST_F(PlayerMovement, ResetPutsThePlayerAtTheBottomMiddleWithFullHp) {
  player.hp = 3.0;
  player.alive = 0;
  firstFrameWaitDone = 1;
  ResetPlayer();
  EXPECT_EQ(player.x, 422.0);
  EXPECT_EQ(player.y, 751.0);
  EXPECT_EQ(player.width, 38);
  EXPECT_EQ(player.height, 49);
  EXPECT_EQ(player.centreX, 441.0);
  EXPECT_EQ(player.centreY, 775.0);
  EXPECT_EQ(player.hp, 30.0);
  EXPECT_EQ(player.alive, 1);
  EXPECT_EQ(firstFrameWaitDone, 0);
}

// The first direction whose keys are held wins: diagonals before straight
// moves, right over left, up over down.
TEST_F(PlayerMovement, EightDirectionsInTheirOrderOfPriority) {
  const MoveCase cases[] = {
      {"up-right", {KEY_UP, KEY_RIGHT}, 6.5 * c, -6.5 * s},
      {"down-right", {KEY_DOWN, KEY_RIGHT}, 6.5 * c, 6.5 * s},
      {"up-left", {KEY_UP, KEY_LEFT}, -6.5 * c, -6.5 * s},
      {"down-left", {KEY_DOWN, KEY_LEFT}, -6.5 * c, 6.5 * s},
      {"right", {KEY_RIGHT}, 6.5, 0},
      {"left", {KEY_LEFT}, -6.5, 0},
      {"up", {KEY_UP}, 0, -6.5},
      {"down", {KEY_DOWN}, 0, 6.5},
      {"up, left and right go up-right", {KEY_UP, KEY_LEFT, KEY_RIGHT}, 6.5 * c, -6.5 * s},
      {"all four go up-right", {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT}, 6.5 * c, -6.5 * s},
      {"up and down go up", {KEY_UP, KEY_DOWN}, 0, -6.5},
      {"left and right go right", {KEY_LEFT, KEY_RIGHT}, 6.5, 0},
      {"down, left and right go down-right", {KEY_DOWN, KEY_LEFT, KEY_RIGHT}, 6.5 * c, 6.5 * s},
      {"no key", {}, 0, 0},
      {"slow alone", {KEY_SLOW}, 0, 0},
      {"shoot and bomb do not move", {KEY_SHOOT, KEY_BOMB}, 0, 0},
  };
  for (const MoveCase& move : cases) {
    SCOPED_TRACE(move.name);
    PlacePlayer(400, 500);
    HoldKeys(move.keys);
    MovePlayer();
    EXPECT_DOUBLE_EQ(player.x, 400 + move.dx);
    EXPECT_DOUBLE_EQ(player.y, 500 + move.dy);
  }
}

// Slow movement steps back 3.5 and forward 6.5 along the same direction.
TEST_F(PlayerMovement, SlowKeyStepsBackThenForward) {
  PlacePlayer(400, 500);
  HoldKeys({KEY_SLOW, KEY_UP, KEY_RIGHT});
  MovePlayer();
  EXPECT_EQ(player.x, 400 - 3.5 * c + 6.5 * c);
  EXPECT_EQ(player.y, 500 + 3.5 * s - 6.5 * s);
  EXPECT_NEAR(player.x - 400, 3.0 * c, 1e-12);

  PlacePlayer(400, 500);
  HoldKeys({KEY_SLOW, KEY_LEFT}, 1);
  MovePlayer();
  EXPECT_DOUBLE_EQ(player.x, 397.0);
  EXPECT_EQ(player.y, 500.0);
}

TEST_F(PlayerMovement, ClampHoldsTheBoxInsideThePlayfield) {
  struct ClampCase {
    double x, y, expectX, expectY;
  };
  const ClampCase cases[] = {
      {900, 900, 819, 751}, {0, 0, 25, 176},     {819, 751, 819, 751}, {818.5, 750.5, 818.5, 750.5},
      {25, 176, 25, 176},   {-50, 900, 25, 751}, {900, -3, 819, 176},  {25.5, 176.5, 25.5, 176.5},
  };
  for (const ClampCase& clamp : cases) {
    SCOPED_TRACE(testing::Message() << clamp.x << "," << clamp.y);
    PlacePlayer(clamp.x, clamp.y);
    ClampPlayer();
    EXPECT_EQ(player.x, clamp.expectX);
    EXPECT_EQ(player.y, clamp.expectY);
  }
}

// Held into a corner for long enough, the player ends exactly on it.
TEST_F(PlayerMovement, PushingIntoEachCornerEndsOnIt) {
  struct CornerCase {
    std::initializer_list<int> keys;
    double x, y;
  };
  const CornerCase corners[] = {
      {{KEY_UP, KEY_LEFT}, 25, 176},
      {{KEY_UP, KEY_RIGHT}, 819, 176},
      {{KEY_DOWN, KEY_LEFT}, 25, 751},
      {{KEY_DOWN, KEY_RIGHT, KEY_SLOW}, 819, 751},
  };
  for (const CornerCase& corner : corners) {
    SCOPED_TRACE(testing::Message() << corner.x << "," << corner.y);
    ResetPlayer();
    HoldKeys(corner.keys);
    for (int frame = 0; frame < 400; ++frame) {
      MovePlayer();
      ClampPlayer();
    }
    EXPECT_EQ(player.x, corner.x);
    EXPECT_EQ(player.y, corner.y);
  }
}

}  // namespace
