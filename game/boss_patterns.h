// The pattern vocabulary of the boss battles: timing, set-up, and the
// bullets, rings and fans the bosses fire. Every spawn takes the first free
// record of its pool and sets only the fields named here; a bullet that
// finds its pool full is skipped and the operation goes on.
#pragma once

#include <initializer_list>
#include <optional>

#include "game_records.h"

struct Point {
  double x;
  double y;
};

// What a spawn writes beyond position, speed and velocity.
struct SpawnStyle {
  std::optional<int> kind;  // else the record keeps its kind
  bool keepAngle = false;   // the record's angle := its firing angle
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

// True in the k-th frame of each period of P pattern frames.
bool EveryFrames(int period, int k);

// The first stock's set-up: the stage's music from the top, looping, and
// the rotating index back to 0.
void StartStageMusic(int stage);
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
// n bullets at angles offset + i * step.
void Ring(BulletRecord* pool, int n, double step, double speed, Point origin, double offset = 0.0,
          const SpawnStyle& style = {});
// One bullet straight at the player's centre.
void AimedShot(BulletRecord* pool, double speed, Point origin, const SpawnStyle& style = {});
// An aimed bullet into pool C that homes on the player.
void HomingShot(double speed, Point origin);
// One bullet per arm at (arm + rotating index) * unit; each bullet that
// found a record turns the rotating index on by one, back to 0 at `wrap`.
void RotatingFan(BulletRecord* pool, std::initializer_list<int> arms, double unit, int wrap, double speed,
                 Point origin, const SpawnStyle& style = {});
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
// passes the test is freed and `burst` fires from its place.
void AgeBurst(BulletRecord* pool, int age, AgeTest test, void (*burst)(Point origin));

// Places each named circle on its orbit about the boss's centre: angle
// i * spacing + sign * (its own angle field) * rate.
void CircleOrbit(std::initializer_list<int> circles, double radius, double spacing, int sign, double rate);
// Points each circle straight at its target. The flight's calls are
// counted in the first named circle's age; when the count reaches `frames`
// all the named circles stop where they are.
void CircleFlight(std::initializer_list<int> circles, const Point* targets, double speed, int frames);
