// The game's data files as the game names and uses them, shared by the
// tests of the generated data.
#pragma once

#include <filesystem>
#include <string>

namespace gamedata {

// Paths are UTF-8 on disk.
inline std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

inline std::filesystem::path DataFolder() { return std::filesystem::path(GAME_DATA_DIR); }
inline std::filesystem::path ArchiveFolder() { return std::filesystem::path(GAME_DATA_DIR) / "archives"; }
inline std::filesystem::path DataFile(const char8_t* relative) { return DataFolder() / Utf8(relative); }

enum Alpha { kOpaque, kWithAlpha };

struct PictureSpec {
  const char8_t* path;
  int width, height;
  Alpha alpha;
};

// Sizes the game binds: full-screen pictures 882 x 820, pictures over the
// playfield 832 x 624, the player's box 38 x 49, each boss's box, one row
// of 16 explosion cells of 192; HUD pips narrower than their 11-pixel
// spacing, icons narrower than their 25, the boss face between the rows.
inline const PictureSpec kPictures[] = {
    {u8"Pict/Backgraund/title.png", 882, 820, kOpaque},
    {u8"Pict/Backgraund/sideflame.png", 882, 820, kWithAlpha},
    {u8"Pict/Backgraund/backgraund_new.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/backgraund_kaiwa.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_sore.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/gameover3.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/staff.png", 882, 820, kOpaque},
    {u8"Pict/Backgraund/end.png", 882, 820, kOpaque},
    {u8"Pict/Effect/white.png", 882, 820, kOpaque},
    {u8"Pict/Effect/explosion1_1a.png", 16 * 192, 192, kWithAlpha},
    {u8"Pict/Chara/それいゆ.png", 38, 49, kWithAlpha},
    {u8"Pict/Chara/すいせい4.png", 55, 94, kWithAlpha},
    {u8"Pict/Chara/きんせい.png", 226, 251, kWithAlpha},
    {u8"Pict/Chara/ちきゅう.png", 226, 251, kWithAlpha},
    {u8"Pict/Chara/かせい.png", 58, 89, kWithAlpha},
    {u8"Pict/Chara/もくせい.png", 226, 251, kWithAlpha},
    {u8"Pict/Chara/どせい.png", 226, 251, kWithAlpha},
    {u8"Pict/Other/meru.png", 72, 72, kWithAlpha},
    {u8"Pict/Other/wenu.png", 72, 72, kWithAlpha},
    {u8"Pict/Other/tera.png", 72, 72, kWithAlpha},
    {u8"Pict/Other/maru.png", 72, 72, kWithAlpha},
    {u8"Pict/Other/yupi.png", 72, 72, kWithAlpha},
    {u8"Pict/Other/sato.png", 72, 72, kWithAlpha},
    {u8"Pict/Other/や.png", 56, 40, kWithAlpha},
    {u8"Pict/Other/HP.png", 9, 24, kWithAlpha},
    {u8"Pict/Other/eneHP.png", 9, 24, kWithAlpha},
    {u8"Pict/Other/sutokku2.png", 22, 22, kWithAlpha},
    {u8"Pict/Other/bomb.png", 22, 22, kWithAlpha},
    {u8"Pict/Other/magic_circuit02_2.png", 80, 80, kWithAlpha},
    {u8"Pict/Bullet/tama01.png", 16, 48, kWithAlpha},
    {u8"Pict/Bullet/弾00.png", 32, 32, kWithAlpha},
    {u8"Pict/Bullet/弾00_1.png", 40, 40, kWithAlpha},
    {u8"Pict/Bullet/弾00_2.png", 24, 24, kWithAlpha},
    {u8"Pict/Bullet/弾04.png", 14, 36, kWithAlpha},
    {u8"Pict/Bullet/弾02_0.png", 10, 44, kWithAlpha},
    {u8"Pict/Bullet/star_blue.png", 32, 32, kWithAlpha},
    {u8"Pict/Bullet/star_orange.png", 32, 32, kWithAlpha},
    {u8"Pict/Bullet/star_green.png", 32, 32, kWithAlpha},
    {u8"Pict/Backgraund/kaiwa_meru_a.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_meru_b.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_meru_c.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_meru_d.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/clear_meru.png", 882, 820, kOpaque},
    {u8"Pict/Backgraund/kaiwa_wenu_a.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_wenu_b.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_wenu_c.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_wenu_d.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/clear_wenu.png", 882, 820, kOpaque},
    {u8"Pict/Backgraund/kaiwa_tra_a.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_tra_b.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_tra_c.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_tra_d.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/clear_tra.png", 882, 820, kOpaque},
    {u8"Pict/Backgraund/kaiwa_maru_a.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_maru_b.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_maru_c.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_maru_d.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/clear_maru.png", 882, 820, kOpaque},
    {u8"Pict/Backgraund/kaiwa_yupi_a.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_yupi_b.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_yupi_c.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_yupi_d.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/clear_yupi.png", 882, 820, kOpaque},
    {u8"Pict/Backgraund/kaiwa_sato_a.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_sato_b.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_sato_c.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/kaiwa_sato_d.png", 832, 624, kOpaque},
    {u8"Pict/Backgraund/clear_sato.png", 882, 820, kOpaque},
};

struct SoundSpec {
  const char8_t* path;
  bool music;
};

inline const SoundSpec kSounds[] = {
    {u8"Sound/SE/cursor04.wav", false},
    {u8"Sound/SE/hit68.wav", false},
    {u8"Sound/SE/warp02.wav", false},
    {u8"Sound/SE/power11.wav", false},
    {u8"Sound/SE/power32.wav", false},
    {u8"Sound/BGM/game_vorlenta_1_battle34.wav", true},
    {u8"Sound/BGM/game_vorlenta_1_battle09.ogg", true},
    {u8"Sound/BGM/game_vorlenta_1_battle15.ogg", true},
    {u8"Sound/BGM/game_vorlenta_1_battle14.ogg", true},
    {u8"Sound/BGM/game_vorlenta_2_boss07.ogg", true},
    {u8"Sound/BGM/game_vorlenta_9_medley02.ogg", true},
    {u8"Sound/BGM/game_vorlenta_4_field11.ogg", true},
    {u8"Sound/BGM/game_vorlenta_9_jingle08.ogg", true},
};

}  // namespace gamedata
