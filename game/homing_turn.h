// The turn of a homing record toward its target, bounded per frame.
#pragma once

#include "game_records.h"

// Turns the record's velocity toward (targetX, targetY) by at most
// `limit` radians. The record's angle is the direction opposite to its
// motion; the angle and the target direction are compared unfolded, so the
// long way round is avoided by a half-turn test. The speed is kept.
void TurnHoming(BulletRecord& record, double targetX, double targetY, double limit);
