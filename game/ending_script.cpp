// The ending's texts: the closing conversation and the staff roll. UTF-8
// here, Shift-JIS in the program, as the dialogue scripts.
#include "ending.h"

namespace {
using enum DialoguePicture;
}  // namespace

// The last words stand on the third row, in the middle of the text box.
const DialogueStep endingConversation[ENDING_CONVERSATION_STEPS] = {
    Say(Player, {"ただいまー！", "みんな、お茶会に来てくれるって！"}),
    Say(Backdrop, {"その日、太陽のまわりに六つの星が集まり、", "にぎやかなお茶会がひらかれた。"}),
    Say(Player, {"来年は、招待状を郵便で送ろうっと。"}),
    MakeStep(DialogueStepKind::Text, Backdrop, {"おしまい"}, BossPlacement::NotDrawn, 2),
};

const StaffPage staffPages[STAFF_PAGE_COUNT] = {
    {"システム・シナリオ", {"太陽系お茶会工房", nullptr}},
    {"グラフィック", {"星くず絵画部", nullptr}},
    {"サウンド", {"音楽　惑星合唱団", "効果音　流れ星音響"}},
    {"スペシャルサンクス", {"六つの星のみんな", "遊んでくれたあなた"}},
};
