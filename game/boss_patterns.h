// The pattern vocabulary of the boss battles: timing, set-up, and the
// bullets, rings and fans the bosses fire. Every spawn takes the first free
// record of its pool and sets only the fields named here; a bullet that
// finds its pool full is skipped and the operation goes on.
#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>

#include "game_records.h"

struct Point {
  double x;
  double y;
};

// What a spawn writes beyond position, speed and velocity.
struct SpawnStyle {
  std::optional<int> kind{};  // else the record keeps its kind
  bool keepAngle = false;     // the record's angle := its firing angle
  bool keepSpeed = false;     // the record's speed field is left as it was
  bool resetAge = false;      // the record's age := 0
  bool mirrored = false;      // vx negated: the pattern mirrored left to right
};

// What a circle's set-up starts anew beside its activity and picture; a
// field left empty keeps what the circle held.
struct CircleStart {
  std::optional<double> angle = std::nullopt;
  std::optional<int> age = std::nullopt;
  std::optional<int> moveMode = std::nullopt;
};

// One bullet of a fan: its angle from the fan's base and its kind.
struct FanArm {
  double angle;
  int kind;
};

Point BossCentre();
Point CirclePosition(int circle);
void PlaceCircle(int circle, Point at);

// The boss's centre := the middle of its box, with integer halves.
void PutCentreOnBox();
// Moves the box by `step` in the sway direction (1 right, 0 left, any other
// value still) and puts the centre on it. False in the frame in which the
// sway turns, at a centre x of `rightTurn` or more moving right or
// `leftTurn` or less moving left: that frame fires nothing.
bool Sway(double step, double rightTurn, double leftTurn);

// A battle frame's count: the frame counter and the pattern frame go up.
void CountBattleFrame();
// The routine of each stock, by the stocks value: [3] the first stock of
// the battle, [0] the last.
using StockRoutines = std::array<void (*)(), 4>;
// Runs the routine of the boss's current stock; false, running nothing,
// for a stocks value outside 0 to 3.
bool RunStockRoutine(const StockRoutines& byStocks);

// True in the k-th frame of each period of P pattern frames.
bool EveryFrames(int period, int k);

// The first stock's set-up: the stage's music from the top, looping, and
// the rotating index back to 0.
void StartStageMusic(int stage);
// What a stock does in a phase other than its set-up (0) and pattern (1).
enum class OtherPhase {
  kStartOver,              // phase := 0: the set-up runs in the next frame
  kStartOverButIdleInTwo,  // phase 2 does nothing; any other starts over
  kIdle,                   // nothing, whatever the phase
};
// The phases of a stock whose set-up takes a frame of its own: in phase 0
// the pools are cleared, `setUp` runs and phase 1 follows in the next
// frame; any other phase is as `other` says. True in phase 1, when the
// stock's pattern runs.
bool SetUpStockOrFire(void (*setUp)(), OtherPhase other = OtherPhase::kStartOver);
// A magic circle's picture, for its kind.
int CirclePicture();
// Each named circle becomes active with the circle picture, and takes
// whatever `start` names.
void CircleSetup(std::initializer_list<int> circles, const CircleStart& start = {});

// The direction from the player's centre to `origin`.
double AimFromPlayer(Point origin);
// The velocity of `speed` along -(cos aim, sin aim), written as the aiming
// has always been computed: cos(-aim) * -speed, sin(-aim) * speed.
void AimVelocity(double aim, double speed, double* vx, double* vy);
// The velocity from `from` straight at `target`.
void HeadFor(Point from, Point target, double speed, double* vx, double* vy);

// A bullet at `origin` with this velocity (speed, kind and angle as the
// record held them); nullptr when the pool is full.
BulletRecord* SpawnMoving(BulletRecord* pool, Point origin, double vx, double vy);
// One bullet at `angle`; true when it found a record.
bool ShotAt(BulletRecord* pool, double speed, Point origin, double angle, const SpawnStyle& style = {});
// One bullet with the given velocity (a kept angle is 0); true when it
// found a record.
bool StraightShot(BulletRecord* pool, double speed, Point origin, double vx, double vy, const SpawnStyle& style = {});
// Bullets at angles offset + i * step for i = first..last, in order; the
// number that found a record.
int Fan(BulletRecord* pool, int first, int last, double step, double speed, Point origin, double offset,
        const SpawnStyle& style = {});
// n bullets at angles offset + i * step: the fan of i = 0..n - 1.
int Ring(BulletRecord* pool, int n, double step, double speed, Point origin, double offset = 0.0,
         const SpawnStyle& style = {});
// One bullet straight at the player's centre.
void AimedShot(BulletRecord* pool, double speed, Point origin, const SpawnStyle& style = {});
// An aimed bullet into pool C that homes on the player.
void HomingShot(double speed, Point origin);
// One bullet per arm at (arm + rotating index) * unit; each bullet that
// found a record turns the rotating index on by one, back to 0 at `wrap`.
void RotatingFan(BulletRecord* pool, std::initializer_list<int> arms, double unit, int wrap, double speed, Point origin,
                 const SpawnStyle& style = {});
// The rotating index one on, back to 0 when it reaches `wrap`.
void AdvanceRotatingIndex(int wrap);
// One bullet per arm at spinAngle + the arm's angle, with the arm's kind,
// in the order of the arms; the angle field is left as the record held it.
void SpinFan(BulletRecord* pool, std::initializer_list<FanArm> arms, double speed, Point origin);

// Counts the age of every active record of pool B; a record of age
// `age` or more is freed and record i of pool A, whatever it held, becomes
// an aimed bullet (kind 1) from its place.
void AgeConvert(int age, double speed);
enum class AgeTest { kExactly, kAtLeast };
// Counts the age of every active record of `pool`; a record whose age
// passes the test (active or not) is freed and `burst` fires from its place.
void AgeBurst(BulletRecord* pool, int age, AgeTest test, void (*burst)(Point origin));
// How a record that burst is let go.
enum class BurstRelease {
  kFreeWithAgeReset,     // active := 0, age := 0
  kFree,                 // active := 0, the age kept
  kFreeIfAnyBulletLeft,  // active := 0 only when the burst found a record,
                         // else it tries again next frame; the age kept
};
// Only the active records of `pool` are counted and tested: one whose age
// is now `age` or more fires `burst` (which returns how many bullets found
// a record) from its place and is let go as `release` says.
void AgeBurstActive(BulletRecord* pool, int age, BurstRelease release, const std::function<int(Point)>& burst);

// Places each named circle on its orbit about the boss's centre: angle
// i * spacing + sign * (its own angle field) * rate.
void CircleOrbit(std::initializer_list<int> circles, double radius, double spacing, int sign, double rate);
// Points each circle straight at its target, for the pool motion to move it.
void AimCircles(std::initializer_list<int> circles, const Point* targets, double speed);
// Points each circle straight at its target. The flight's calls are
// counted in the first named circle's age; when the count reaches `frames`
// all the named circles stop where they are.
void CircleFlight(std::initializer_list<int> circles, const Point* targets, double speed, int frames);
