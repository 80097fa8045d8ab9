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

Point BossCentre();
Point CirclePosition(int circle);

// True in the k-th frame of each period of P pattern frames.
bool EveryFrames(int period, int k);

// The first stock's set-up: the stage's music from the top, looping, and
// the rotating index back to 0.
void StartStageMusic(int stage);
// Each named circle becomes active with the circle picture; with
// `resetMotion` its angle, age and move mode start from 0 as well.
void CircleSetup(std::initializer_list<int> circles, bool resetMotion);

// The direction from the player's centre to `origin`.
double AimFromPlayer(Point origin);
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
// Points each circle straight at its target; after `frames` calls (counted
// in each circle's age) the circles stop where they are.
void CircleFlight(std::initializer_list<int> circles, const Point* targets, double speed, int frames);
