// The player's start state and its movement.
#include <cmath>

#include "angles.h"
#include "game_state.h"
#include "key_codes.h"
#include "key_hold.h"
#include "picture_cache.h"
#include "player.h"

namespace {

constexpr double kDiagonalAngle = PI_APPROX / 4;
constexpr double kStartY = 751.0;
constexpr double kStartCentreY = 775.0;
constexpr double kFullHp = 30.0;

struct Direction {
  double x;
  double y;
};

// The first of the eight directions whose keys are held, in the order
// up-right, down-right, up-left, down-left, right, left, up, down; false
// when no arrow key is held.
bool ChooseDirection(Direction* direction) {
  const double c = std::cos(kDiagonalAngle);
  const double s = std::sin(kDiagonalAngle);
  const bool up = KeyHeld(KEY_UP);
  const bool down = KeyHeld(KEY_DOWN);
  const bool left = KeyHeld(KEY_LEFT);
  const bool right = KeyHeld(KEY_RIGHT);
  if (up && right) *direction = {c, -s};
  else if (down && right) *direction = {c, s};
  else if (up && left) *direction = {-c, -s};
  else if (down && left) *direction = {-c, s};
  else if (right) *direction = {1.0, 0.0};
  else if (left) *direction = {-1.0, 0.0};
  else if (up) *direction = {0.0, -1.0};
  else if (down) *direction = {0.0, 1.0};
  else return false;
  return true;
}

void Step(const Direction& direction, double length) {
  player.x = player.x + length * direction.x;
  player.y = player.y + length * direction.y;
}

}  // namespace

void ResetPlayer() {
  player.graph = LoadPicture("Pict/Chara/それいゆ.png");
  player.y = kStartY;
  player.alive = 1;
  player.width = kPlayerWidth;
  player.height = kPlayerHeight;
  player.x = SCREEN_WIDTH / 2 - kPlayerWidth / 2;
  player.centreX = player.x + kPlayerWidth / 2;
  player.centreY = kStartCentreY;
  player.hp = kFullHp;
  shotGraph = LoadPicture("Pict/Bullet/tama01.png");
  backgroundGraph = LoadPicture("Pict/Backgraund/backgraund_new.png");
  firstFrameWaitDone = 0;
}

// Slow movement steps back first and then forward, as two separate
// additions, so the net step is 3.0 up to the rounding of both.
void MovePlayer() {
  Direction direction;
  if (!ChooseDirection(&direction)) return;
  if (KeyHeld(KEY_SLOW)) Step(direction, -kPlayerSlowBackStep);
  Step(direction, kPlayerSpeed);
}

void ClampPlayer() {
  if (player.x + player.width >= PLAYFIELD_RIGHT) player.x = PLAYFIELD_RIGHT - player.width;
  if (player.y + player.height >= PLAYFIELD_BOTTOM) player.y = PLAYFIELD_BOTTOM - player.height;
  if (player.x <= PLAYFIELD_LEFT) player.x = PLAYFIELD_LEFT;
  if (player.y <= PLAYFIELD_TOP) player.y = PLAYFIELD_TOP;
}
