#include "boss_patterns.h"

#include <cmath>

#include <WqLib.h>

#include "bullet_pools.h"
#include "game_state.h"
#include "picture_cache.h"

namespace {

// Spawns a bullet at `origin` with the given speed and velocity.
BulletRecord* SpawnAt(BulletRecord* pool, Point origin, double speed, double vx, double vy) {
  BulletRecord* bullet = SpawnMoving(pool, origin, vx, vy);
  if (bullet != nullptr) bullet->speed = speed;
  return bullet;
}

void ApplyStyle(BulletRecord* bullet, const SpawnStyle& style, double angle) {
  if (style.kind) bullet->kind = *style.kind;
  if (style.keepAngle) bullet->angle = angle;
}

BulletRecord* SpawnAtAngle(BulletRecord* pool, Point origin, double speed, double angle, const SpawnStyle& style) {
  BulletRecord* bullet = SpawnAt(pool, origin, speed, speed * std::cos(angle), speed * std::sin(angle));
  if (bullet != nullptr) ApplyStyle(bullet, style, angle);
  return bullet;
}

void CountAge(BulletRecord& record) {
  if (record.active == 1) record.age = record.age + 1;
}

void Free(BulletRecord& record) {
  record.age = 0;
  record.active = 0;
}

}  // namespace

Point BossCentre() { return {boss.centreX, boss.centreY}; }

Point CirclePosition(int circle) { return {magicCircles[circle].x, magicCircles[circle].y}; }

bool EveryFrames(int period, int k) { return boss.patternFrame % period == k; }

void StartStageMusic(int stage) {
  PlaySoundHandle(stageMusic[stage - 1], 3, 1);
  boss.rotatingIndex = 0;
}

void CircleSetup(std::initializer_list<int> circles, const CircleStart& start) {
  for (int i : circles) {
    BulletRecord& circle = magicCircles[i];
    circle.active = 1;
    circle.kind = LoadPicture("Pict/Other/magic_circuit02_2.png");
    if (start.angle) circle.angle = *start.angle;
    if (start.age) circle.age = *start.age;
    if (start.moveMode) circle.moveMode = *start.moveMode;
  }
}

double AimFromPlayer(Point origin) { return std::atan2(origin.y - player.centreY, origin.x - player.centreX); }

void AimVelocity(double aim, double speed, double* vx, double* vy) {
  *vx = std::cos(-aim) * (-speed);
  *vy = std::sin(-aim) * speed;
}

void HeadFor(Point from, Point target, double speed, double* vx, double* vy) {
  AimVelocity(std::atan2(from.y - target.y, from.x - target.x), speed, vx, vy);
}

BulletRecord* SpawnMoving(BulletRecord* pool, Point origin, double vx, double vy) {
  BulletRecord* bullet = SpawnBullet(pool, ENEMY_POOL_SIZE);
  if (bullet == nullptr) return nullptr;
  bullet->x = origin.x;
  bullet->y = origin.y;
  bullet->vx = vx;
  bullet->vy = vy;
  return bullet;
}

void Ring(BulletRecord* pool, int n, double step, double speed, Point origin, double offset, const SpawnStyle& style) {
  for (int i = 0; i < n; ++i) SpawnAtAngle(pool, origin, speed, offset + i * step, style);
}

void AimedShot(BulletRecord* pool, double speed, Point origin, const SpawnStyle& style) {
  const double aim = AimFromPlayer(origin);
  double vx;
  double vy;
  AimVelocity(aim, speed, &vx, &vy);
  BulletRecord* bullet = SpawnAt(pool, origin, speed, vx, vy);
  if (bullet != nullptr) ApplyStyle(bullet, style, aim);
}

void HomingShot(double speed, Point origin) {
  const double aim = AimFromPlayer(origin);
  double vx;
  double vy;
  AimVelocity(aim, speed, &vx, &vy);
  BulletRecord* bullet = SpawnAt(enemyBulletsC, origin, speed, vx, vy);
  if (bullet == nullptr) return;
  bullet->kind = 1;
  bullet->age = 0;
  bullet->angle = aim;
}

void RotatingFan(BulletRecord* pool, std::initializer_list<int> arms, double unit, int wrap, double speed,
                 Point origin, const SpawnStyle& style) {
  for (int arm : arms) {
    if (SpawnAtAngle(pool, origin, speed, (arm + boss.rotatingIndex) * unit, style) != nullptr) {
      AdvanceRotatingIndex(wrap);
    }
  }
}

void AdvanceRotatingIndex(int wrap) {
  boss.rotatingIndex = boss.rotatingIndex + 1;
  if (boss.rotatingIndex == wrap) boss.rotatingIndex = 0;
}

void SpinFan(BulletRecord* pool, std::initializer_list<FanArm> arms, double speed, Point origin) {
  for (const FanArm& arm : arms) SpawnAtAngle(pool, origin, speed, spinAngle + arm.angle, {.kind = arm.kind});
}

void AgeConvert(int age, double speed) {
  for (int i = 0; i < ENEMY_POOL_SIZE; ++i) {
    BulletRecord& large = enemyBulletsB[i];
    CountAge(large);
    if (large.age < age) continue;
    Free(large);
    BulletRecord& aimed = enemyBulletsA[i];
    aimed.x = large.x;
    aimed.y = large.y;
    aimed.speed = speed;
    aimed.active = 1;
    aimed.kind = 1;
    AimVelocity(AimFromPlayer({aimed.x, aimed.y}), speed, &aimed.vx, &aimed.vy);
  }
}

void AgeBurst(BulletRecord* pool, int age, AgeTest test, void (*burst)(Point origin)) {
  for (int i = 0; i < ENEMY_POOL_SIZE; ++i) {
    BulletRecord& record = pool[i];
    CountAge(record);
    const bool due = test == AgeTest::kExactly ? record.age == age : record.age >= age;
    if (!due) continue;
    Free(record);
    burst({record.x, record.y});
  }
}

void CircleOrbit(std::initializer_list<int> circles, double radius, double spacing, int sign, double rate) {
  for (int i : circles) {
    BulletRecord& circle = magicCircles[i];
    const double theta = i * spacing + sign * circle.angle * rate;
    circle.x = boss.centreX + radius * std::cos(theta);
    circle.y = boss.centreY + radius * std::sin(theta);
  }
}

void CircleFlight(std::initializer_list<int> circles, const Point* targets, double speed, int frames) {
  int t = 0;
  for (int i : circles) {
    BulletRecord& circle = magicCircles[i];
    HeadFor(CirclePosition(i), targets[t++], speed, &circle.vx, &circle.vy);
  }
  if (circles.size() == 0) return;
  BulletRecord& counter = magicCircles[*circles.begin()];
  counter.age = counter.age + 1;
  if (counter.age < frames) return;
  for (int i : circles) magicCircles[i].moveMode = 1;
}
