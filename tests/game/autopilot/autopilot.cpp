#include "game/autopilot/autopilot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "game_state.h"
#include "hit_tests.h"
#include "player.h"

namespace gametest {
namespace {

// The player's slow step as one addition: what the game's step back and
// step forward come to, up to their rounding.
constexpr double kSlowStep = kPlayerSpeed - kPlayerSlowBackStep;
constexpr double kDiagonal = 0.7071067811865476;
constexpr double kMainShotSpeed = 20.0;

// How far ahead a move is judged, and what it should keep clear of.
constexpr int kHorizon = 30;
constexpr double kMargin = 3.0;
constexpr double kComfort = 20.0;
// Where the player likes to stand: low, with room to dodge below it.
constexpr double kPreferredY = 690.0;
// Costs: a hit outweighs any place; a place is judged by how far the shots
// would miss and how far from the preferred height it is.
constexpr double kHitCost = 1000.0;
constexpr double kCloseCost = 5.0;
constexpr double kAimCost = 3.0;
constexpr double kHeightCost = 0.5;
// A boss moving further than this in a frame warped: no speed to lead.
constexpr double kWarpDistance = 10.0;
// A hit this near with no way out is worth a bomb.
constexpr int kBombWithin = 2;

struct Point {
  double x;
  double y;
};

struct Bullet {
  Point at;
  Point velocity;
  double reach;
  double damage;
};

struct Move {
  KeySet keys;
  Point step;
};

struct Plan {
  Move move;
  int frames;  // frames of the move, then the player stands
};

struct Judgement {
  double cost;
  int firstHit;  // frame of the first certain hit, or past the horizon
};

// The nine moves at full speed and the eight at slow speed, standing first.
std::vector<Move> AllMoves() {
  const struct {
    KeySet keys;
    double x;
    double y;
  } directions[] = {
      {0, 0, 0},
      {kKeyUp, 0, -1},
      {kKeyDown, 0, 1},
      {kKeyLeft, -1, 0},
      {kKeyRight, 1, 0},
      {kKeyUp | kKeyLeft, -kDiagonal, -kDiagonal},
      {kKeyUp | kKeyRight, kDiagonal, -kDiagonal},
      {kKeyDown | kKeyLeft, -kDiagonal, kDiagonal},
      {kKeyDown | kKeyRight, kDiagonal, kDiagonal},
  };
  std::vector<Move> moves;
  for (const auto& d : directions) moves.push_back({d.keys, {d.x * kPlayerSpeed, d.y * kPlayerSpeed}});
  for (const auto& d : directions) {
    if (d.keys != 0) moves.push_back({d.keys | kKeySlow, {d.x * kSlowStep, d.y * kSlowStep}});
  }
  return moves;
}

Point Clamped(Point p) {
  p.x = std::clamp<double>(p.x, PLAYFIELD_LEFT, PLAYFIELD_RIGHT - kPlayerWidth);
  p.y = std::clamp<double>(p.y, PLAYFIELD_TOP, PLAYFIELD_BOTTOM - kPlayerHeight);
  return p;
}

// The active bullets of the four pools that could reach the player within
// the horizon, with their reach and damage as the hit tests count them.
std::vector<Bullet> BulletsNear(Point hitPoint) {
  std::vector<Bullet> near;
  for (const EnemyPoolHits& pool : kEnemyPoolHits) {
    const double reach = std::sqrt(pool.reachSq);
    for (int i = 0; i < ENEMY_POOL_SIZE; ++i) {
      const BulletRecord& b = pool.pool[i];
      if (b.active != 1) continue;
      const double speed = std::hypot(b.vx, b.vy);
      const double within = (speed + kPlayerSpeed) * kHorizon + reach + kComfort;
      if (std::hypot(b.x - hitPoint.x, b.y - hitPoint.y) > within) continue;
      near.push_back({{b.x, b.y}, {b.vx, b.vy}, reach, pool.damage});
    }
  }
  return near;
}

// Where the boss's centre will be when shots fired now reach its height,
// led by its motion since the last frame.
double AimX(Point player, Point* lastBossCentre) {
  const Point boss{::boss.centreX, ::boss.centreY};
  Point velocity{boss.x - lastBossCentre->x, boss.y - lastBossCentre->y};
  if (std::hypot(velocity.x, velocity.y) > kWarpDistance) velocity = {0, 0};
  *lastBossCentre = boss;
  const double flight = std::max(0.0, (player.y + kPlayerHitOffsetY - boss.y) / kMainShotSpeed);
  return boss.x + velocity.x * flight;
}

// A player out to lose has hits for gains and no aim.
Judgement Judge(const Plan& plan, Point start, const std::vector<Bullet>& bullets, double aimX, BattlePlay play) {
  const double sign = play == BattlePlay::kWin ? 1.0 : -1.0;
  Judgement judgement{0.0, kHorizon + 1};
  std::vector<bool> counted(bullets.size(), false);
  Point p = start;
  for (int k = 1; k <= kHorizon; ++k) {
    if (k <= plan.frames) p = Clamped({p.x + plan.move.step.x, p.y + plan.move.step.y});
    const Point hit{p.x + kPlayerHitOffsetX, p.y + kPlayerHitOffsetY};
    const double weight = static_cast<double>(kHorizon + 1 - k) / kHorizon;
    for (std::size_t i = 0; i < bullets.size(); ++i) {
      if (counted[i]) continue;
      const Bullet& b = bullets[i];
      const double distance = std::hypot(b.at.x + k * b.velocity.x - hit.x, b.at.y + k * b.velocity.y - hit.y);
      if (distance < b.reach + kMargin) {
        counted[i] = true;
        judgement.cost += sign * kHitCost * b.damage * weight;
        if (distance < b.reach) judgement.firstHit = std::min(judgement.firstHit, k);
      } else if (distance < b.reach + kComfort) {
        judgement.cost += sign * kCloseCost * weight;
      }
    }
  }
  if (play == BattlePlay::kWin) {
    judgement.cost += kAimCost * std::abs(p.x + kPlayerHitOffsetX - aimX) + kHeightCost * std::abs(p.y - kPreferredY);
  }
  return judgement;
}

}  // namespace

KeySet ChooseBattleKeys(BattlePlay play, KeySet held) {
  static const std::vector<Move> moves = AllMoves();
  static Point lastBossCentre{boss.centreX, boss.centreY};
  const Point start{player.x, player.y};
  const double aimX = AimX(start, &lastBossCentre);
  const std::vector<Bullet> bullets = BulletsNear({start.x + kPlayerHitOffsetX, start.y + kPlayerHitOffsetY});
  Plan best{moves.front(), 1};
  Judgement bestJudgement{INFINITY, 0};
  for (const Move& move : moves) {
    for (int frames : {1, 4, 10, kHorizon}) {
      const Plan plan{move, frames};
      const Judgement judgement = Judge(plan, start, bullets, aimX, play);
      if (judgement.cost < bestJudgement.cost) {
        best = plan;
        bestJudgement = judgement;
      }
    }
  }
  if (play == BattlePlay::kLose) return best.move.keys;
  KeySet keys = best.move.keys | kKeyShoot;
  const bool bombHeld = (held & kKeyBomb) != 0;
  if (bestJudgement.firstHit <= kBombWithin && bombs >= 1 && !bombHeld) keys |= kKeyBomb;
  return keys;
}

std::string KeyNames(KeySet keys) {
  // A shoots, W slows, D bombs.
  static const char* const kNames[] = {"UP", "DOWN", "LEFT", "RIGHT", "W", "A", "D", "RETURN", "SPACE", "MENU", "F4"};
  std::string names;
  for (unsigned bit = 0; bit < std::size(kNames); ++bit) {
    if ((keys & (1u << bit)) == 0) continue;
    if (!names.empty()) names += ' ';
    names += kNames[bit];
  }
  return names;
}

}  // namespace gametest
