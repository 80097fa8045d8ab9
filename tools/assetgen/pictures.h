// Every picture of the game, as a canvas made from nothing but code.
#pragma once

#include "canvas.h"
#include "characters.h"

namespace assetgen {

// Sprites with alpha.
Canvas MakePlayerSprite();
Canvas MakeBossSprite(CharacterId boss);
Canvas MakeFace(CharacterId boss);
Canvas MakeShot();
enum class BulletShape { Small, Large, Round, Long, Needle };
Canvas MakeBullet(BulletShape shape);
Canvas MakeStar(const Color& color);
Canvas MakeCursor();
Canvas MakePip(const Color& color);
Canvas MakeStockIcon();
Canvas MakeBombIcon();
Canvas MakeMagicCircle();
Canvas MakeExplosionStrip();
Canvas MakeSideFrame();

// Pictures over the playfield.
Canvas MakeStarfield();
Canvas MakeGameOver();
Canvas MakeDialogueBackdrop();
Canvas MakePlayerDialogue();
// The four dialogue pictures of a stage: a boss speaking, the player
// speaking, then after the battle the boss smiling and the player speaking.
enum class DialogueTurn { BossSpeaks, PlayerSpeaks, BossAfter, PlayerAfter };
Canvas MakeDialoguePicture(CharacterId boss, DialogueTurn turn);

// Full-screen pictures.
Canvas MakeTitle();
Canvas MakeStaffBackground();
Canvas MakeEndPicture();
Canvas MakeClearPicture(CharacterId boss);
Canvas MakeWhiteFlash();

}  // namespace assetgen
