#include "game_over.h"

#include <WqLib.h>

#include "game_state.h"

void StartGameOverMusic() {
  for (int music : stageMusic) StopSoundHandle(music);
  StopSoundHandle(titleMusic);
  StopSoundHandle(gameOverMusic);
  if (gameOverMusicStarted == 0) {
    PlaySoundHandle(gameOverMusic, 3, 1);
    gameOverMusicStarted = 1;
  }
}
