#include "homing_turn.h"

#include <cmath>

#include "angles.h"

void TurnHoming(BulletRecord& record, double targetX, double targetY, double limit) {
  const double targetDirection = std::atan2(record.y - targetY, record.x - targetX);
  const double difference = record.angle - targetDirection;
  double turn;
  if (std::fabs(difference) < limit) {
    turn = -difference;
  } else if (difference > 0) {
    turn = std::fabs(difference) < PI_APPROX ? -limit : limit;
  } else {
    turn = std::fabs(difference) < PI_APPROX ? limit : -limit;
  }
  const double vx = record.vx;
  const double vy = record.vy;
  record.vx = std::cos(turn) * vx - std::sin(turn) * vy;
  record.vy = std::sin(turn) * vx + std::cos(turn) * vy;
}
