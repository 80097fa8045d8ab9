// The scene routines whose real bodies are still to be written: drawing of
// the background, boss and explosions, the HUD and stage clear, the player,
// shots and bullets, hit tests and the six boss battles. Each is replaced by
// its real routine in a file of its own; until then the placeholder lets the
// scene machine move on. A routine that waits on a screen it drew (the stage
// clear) shows it first with screen_waits.h.
#pragma once

// Background, boss and explosions.
void ScrollBackground();
void DrawBoss();
void SpawnExplosion(double x, double y);
void DrawExplosions();

// HUD, battle clock, score and stage clear.
void LoadHud();
void LayoutHudPips();
void DrawHud();
void TickClockAndDrawScore();
void ShowStageClear();

// The player.
void ResetPlayer();
void MovePlayer();
void ClampPlayer();
void FirePlayerShots();

// Shots and enemy bullets.
void LoadBullets();
void MoveShotsAndBullets();
void DrawShotsAndBullets();

// Hit tests.
void MeasureShotDistances();
void ApplyShotHits();
void MeasureBulletDistances();
void ApplyBulletHits();

// The boss battles.
void RunStage1Battle();
void RunStage2Battle();
void RunStage3Battle();
void RunStage4Battle();
void RunStage5Battle();
void RunStage6Battle();
