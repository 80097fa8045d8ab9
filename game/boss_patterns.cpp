#include "boss_patterns.h"

#include <cmath>

#include <WqLib.h>

#include "bullet_pools.h"
#include "game_state.h"
#include "picture_cache.h"

namespace {

// Spawns a bullet at `origin` with the given velocity and the fields the
// style names.
BulletRecord* SpawnAt(BulletRecord* pool, Point origin, double speed, double vx, double vy, const SpawnStyle& style,
                      double angle) {
  BulletRecord* bullet = SpawnMoving(pool, origin, style.mirrored ? -vx : vx, vy);
  if (bullet == nullptr) return nullptr;
  if (!style.keepSpeed) bullet->speed = speed;
  if (style.kind) bullet->kind = *style.kind;
  if (style.keepAngle) bullet->angle = angle;
  if (style.resetAge) bullet->age = 0;
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

void PlaceCircle(int circle, Point at) {
  magicCircles[circle].x = at.x;
  magicCircles[circle].y = at.y;
}

void PutCentreOnBox() {
  boss.centreX = boss.x + boss.width / 2;
  boss.centreY = boss.y + boss.height / 2;
}

bool Sway(double step, double rightTurn, double leftTurn) {
  if (boss.swayDirection == 1) {
    boss.x = boss.x + step;
    PutCentreOnBox();
    if (boss.centreX >= rightTurn) {
      boss.swayDirection = 0;
      return false;
    }
  } else if (boss.swayDirection == 0) {
    boss.x = boss.x - step;
    PutCentreOnBox();
    if (boss.centreX <= leftTurn) {
      boss.swayDirection = 1;
      return false;
    }
  }
  return true;
}

void CountBattleFrame() {
  boss.frameCounter = boss.frameCounter + 1;
  boss.patternFrame = boss.patternFrame + 1;
}

bool RunStockRoutine(const StockRoutines& byStocks) {
  if (boss.stocks < 0 || boss.stocks > 3) return false;
  byStocks[boss.stocks]();
  return true;
}

bool EveryFrames(int period, int k) { return boss.patternFrame % period == k; }

void StartStageMusic(int stage) {
  PlaySoundHandle(stageMusic[stage - 1], 3, 1);
  boss.rotatingIndex = 0;
}

bool SetUpStockOrFire(void (*setUp)(), OtherPhase other) {
  if (boss.phase == 0) {
    ClearEnemyPools();
    setUp();
    boss.phase = 1;
    return false;
  }
  if (boss.phase == 1) return true;
  const bool idle = other == OtherPhase::kIdle || (other == OtherPhase::kStartOverButIdleInTwo && boss.phase == 2);
  if (!idle) boss.phase = 0;
  return false;
}

int CirclePicture() { return LoadPicture("Pict/Other/magic_circuit02_2.png"); }

void CircleSetup(std::initializer_list<int> circles, const CircleStart& start) {
  for (int i : circles) {
    BulletRecord& circle = magicCircles[i];
    circle.active = 1;
    circle.kind = CirclePicture();
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

bool ShotAt(BulletRecord* pool, double speed, Point origin, double angle, const SpawnStyle& style) {
  return SpawnAt(pool, origin, speed, speed * std::cos(angle), speed * std::sin(angle), style, angle) != nullptr;
}

bool StraightShot(BulletRecord* pool, double speed, Point origin, double vx, double vy, const SpawnStyle& style) {
  return SpawnAt(pool, origin, speed, vx, vy, style, 0.0) != nullptr;
}

int Fan(BulletRecord* pool, int first, int last, double step, double speed, Point origin, double offset,
        const SpawnStyle& style) {
  int spawned = 0;
  for (int i = first; i <= last; ++i) spawned += ShotAt(pool, speed, origin, offset + i * step, style);
  return spawned;
}

int Ring(BulletRecord* pool, int n, double step, double speed, Point origin, double offset, const SpawnStyle& style) {
  return Fan(pool, 0, n - 1, step, speed, origin, offset, style);
}

void AimedShot(BulletRecord* pool, double speed, Point origin, const SpawnStyle& style) {
  const double aim = AimFromPlayer(origin);
  double vx;
  double vy;
  AimVelocity(aim, speed, &vx, &vy);
  SpawnAt(pool, origin, speed, vx, vy, style, aim);
}

void HomingShot(double speed, Point origin) {
  AimedShot(enemyBulletsC, speed, origin, {.kind = 1, .keepAngle = true, .resetAge = true});
}

void RotatingFan(BulletRecord* pool, std::initializer_list<int> arms, double unit, int wrap, double speed, Point origin,
                 const SpawnStyle& style) {
  for (int arm : arms) {
    if (ShotAt(pool, speed, origin, (arm + boss.rotatingIndex) * unit, style)) AdvanceRotatingIndex(wrap);
  }
}

void AdvanceRotatingIndex(int wrap) {
  boss.rotatingIndex = boss.rotatingIndex + 1;
  if (boss.rotatingIndex == wrap) boss.rotatingIndex = 0;
}

void SpinFan(BulletRecord* pool, std::initializer_list<FanArm> arms, double speed, Point origin) {
  for (const FanArm& arm : arms) ShotAt(pool, speed, origin, spinAngle + arm.angle, {.kind = arm.kind});
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

void AgeBurstActive(BulletRecord* pool, int age, BurstRelease release, const std::function<int(Point)>& burst) {
  for (int i = 0; i < ENEMY_POOL_SIZE; ++i) {
    BulletRecord& record = pool[i];
    if (record.active != 1) continue;
    record.age = record.age + 1;
    if (record.age < age) continue;
    const int spawned = burst({record.x, record.y});
    if (release == BurstRelease::kFreeIfAnyBulletLeft && spawned == 0) continue;
    record.active = 0;
    if (release == BurstRelease::kFreeWithAgeReset) record.age = 0;
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

void AimCircles(std::initializer_list<int> circles, const Point* targets, double speed) {
  int t = 0;
  for (int i : circles) {
    BulletRecord& circle = magicCircles[i];
    HeadFor(CirclePosition(i), targets[t++], speed, &circle.vx, &circle.vy);
  }
}

void CircleFlight(std::initializer_list<int> circles, const Point* targets, double speed, int frames) {
  AimCircles(circles, targets, speed);
  if (circles.size() == 0) return;
  BulletRecord& counter = magicCircles[*circles.begin()];
  counter.age = counter.age + 1;
  if (counter.age < frames) return;
  for (int i : circles) magicCircles[i].moveMode = 1;
}
