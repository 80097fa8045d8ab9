// The dialogue scenes' step tables. The lines are written here in UTF-8
// and compiled to Shift-JIS (-fexec-charset=CP932), the framework's own
// text, so they read as text in the source; a character that Shift-JIS
// lacks stops the build instead of drawing wrongly.
//
// The story: SOLEIL, the sun's pilot, carries invitations to the solar
// system's tea party to the six planets, and each of them insists on a
// bullet-pattern "greeting" first. In the stage pictures slot 0 shows the
// boss speaking, slot 1 the player, slots 2 and 3 the same after the
// battle (stage 2's loader swaps its first two slots).
#include "dialogue_scripts.h"

#include <iterator>

namespace {

using enum DialoguePicture;
using enum BossPlacement;

constexpr DialogueStep kStage1Before[] = {
    Say(Player, {"今日は年に一度の、太陽系お茶会の日！", "招待状を六つの星に届けるのが、わたしの役目。",
                 "……なのに郵便ロケットが故障中だなんて。", "しかたない、自分で飛んでいこう！"}),
    MakeStep(DialogueStepKind::Flash, Backdrop, {"こうして、太陽の少女ソレイユは飛び立った。"}),
    Say(Backdrop, {"最初の星は、太陽にいちばん近い水星。"}),
    Say(Player, {"メルちゃん、いるかなー？"}),
    Say(Slot2, {"ソレイユ！　ちょうどいいところに来たわね。"}, AroundPicture),
    Say(Slot3, {"お茶会の招待状を届けに来たよ。"}, OverPicture),
    Say(Slot2, {"ふふん、タダでは受け取らないわ。"}, AfterLines),
    Say(Slot3, {"えっ、お茶会の招待状なのに？"}, AfterLines),
    Say(Slot0, {"わたしは太陽系でいちばん速い星。"}, OverPicture),
    Say(Slot1, {"うん、知ってる。"}, OverPicture),
    Say(Slot0, {"わたしの弾をよけきったら、受け取ってあげる！"}, OverPicture),
    Say(Slot1, {"もう、しかたないなあ。"}, OverPicture),
    Say(Slot0, {"いくわよ、全速力！"}, OverPicture),
    EndOfScene(),
};

constexpr DialogueStep kStage1After[] = {
    SayFromStart(Slot3, {"はい、ぜんぶよけきったよ。"}),
    Say(Slot2, {"うう、速さで負けるなんて……。", "でも楽しかったから、招待状は受け取るわ。"}),
    Say(Slot3, {"ありがとう！", "お茶会にはお菓子を持ってきてね。", "次は金星のウェヌちゃんのところだ。"}),
    Say(Slot2, {"ウェヌは朝寝坊だから、起こすのが大変よ。", "気をつけてね！"}),
    EndOfScene(),
};

// Stage 2's slot 0 shows the player speaking, slot 1 the boss.
constexpr DialogueStep kStage2Before[] = {
    Say(Slot0, {"ウェヌちゃん、おはよう！　招待状だよ！"}),
    Say(Slot1, {"……むにゃ。あと五分……。"}),
    Say(Slot0, {"もうお昼だよ！", "起きないと、お茶会に遅れちゃう！"}),
    Say(Slot1, {"うるさいなあ……起こした罰よ、えいっ！"}),
    EndOfScene(),
};

constexpr DialogueStep kStage2After[] = {
    SayFromStart(Slot2, {"ふああ……すっかり目が覚めたわ。"}),
    Say(Slot3, {"よかった。", "はい、お茶会の招待状。"}),
    Say(Slot2, {"お茶会！　甘いものはたくさん出る？"}),
    Say(Slot3, {"もちろん！"}),
    Say(Slot2, {"じゃあ、とびきりの寝起き顔で行くわ。", "次の地球のテラはまじめだから、覚悟してね。"}),
    EndOfScene(),
};

constexpr DialogueStep kStage3Before[] = {
    Say(Slot0, {"止まりなさい。ここは地球の空域です。"}),
    Say(Slot1, {"こんにちは、テラちゃん。", "お茶会の招待状を届けに来たの。", "はい、どうぞ！"}),
    Say(Slot0, {"書類に不備がないか、確認します。"}),
    Say(Slot1, {"えっ、招待状に審査があるの？", "ただのお茶会だよ？"}),
    Say(Slot0, {"実技試験も必要です。弾幕で。"}),
    Say(Slot1, {"どうしてみんな撃ってくるの！"}),
    EndOfScene(),
};

constexpr DialogueStep kStage3After[] = {
    SayFromStart(Slot3, {"これで合格かな？"}),
    Say(Slot2, {"……合格です。", "回避の技術、申し分ありません。"}),
    Say(Slot3, {"やったあ！", "テラちゃんもお茶会、来てくれるよね？"}),
    Say(Slot2, {"はい。お月見団子を持っていきます。", "月には内緒ですけど。"}),
    Say(Slot3, {"内緒なんだ……。", "次は火星のマルちゃんだね。"}),
    Say(Slot2, {"マルは熱血ですから、声が大きいですよ。", "耳をふさいで行ってください。"}),
    EndOfScene(),
};

constexpr DialogueStep kStage4Before[] = {
    Say(Slot0, {"来たな、ソレイユ！　待ちくたびれたぞ！"}),
    Say(Slot1, {"まだ何も言ってないよ？", "お茶会の招待状を……"}),
    Say(Slot0, {"言葉はいらない！", "弾で語り合おうじゃないか！"}),
    Say(Slot1, {"やっぱりそうなるんだ……。", "いいよ、受けて立つ！"}),
    Say(Slot0, {"燃えてきたああっ！"}),
    EndOfScene(),
};

constexpr DialogueStep kStage4After[] = {
    SayFromStart(Slot2, {"完敗だ！　気持ちのいい負けっぷりだ！"}),
    Say(Slot3, {"マルちゃん、声が大きいよ……。", "はい、招待状。"}),
    Say(Slot2, {"うむ、ありがたく受け取る！", "お茶会には激辛のお菓子を用意しよう！"}),
    Say(Slot3, {"甘いのもお願いね。"}),
    Say(Slot2, {"次は木星のユピだな。", "あいつは大きいぞ、いろいろと！"}),
    EndOfScene(),
};

constexpr DialogueStep kStage5Before[] = {
    Say(Slot0, {"あらあら、小さなお客さまね。"}),
    Say(Slot1, {"こんにちは、ユピちゃん。招待状だよ。"}),
    Say(Slot0, {"お茶会？　すてきね。", "でも、わたしの衛星たちが遊びたいって。"}),
    Say(Slot1, {"衛星って、いくつあるの？"}),
    Say(Slot0, {"数えたことはないわ。", "さあ、みんな出ておいで！"}),
    EndOfScene(),
};

constexpr DialogueStep kStage5After[] = {
    SayFromStart(Slot2, {"まあ、ぜんぶよけちゃったの？", "衛星たちも大喜びよ。"}),
    Say(Slot3, {"はあ、はあ……。", "多すぎだよ、ユピちゃん……。"}),
    Say(Slot3, {"でも、これでお茶会に来てくれるよね？", "残るは土星のサトちゃんだけ。", "最後までがんばらなきゃ。"}),
    Say(Slot2, {"サトはおしゃれさんよ。", "自慢の輪っかを見せたがっているわ。"}),
    Say(Slot3, {"輪っか、きれいだもんね。"}),
    Say(Slot2, {"ええ。ただし、その輪っかから弾が出るの。", "気をつけてね。"}),
    EndOfScene(),
};

constexpr DialogueStep kStage6Before[] = {
    SayFromStart(Slot0, {"ようこそ、わたしの輪の中へ。"}),
    Say(Slot1, {"サトちゃん、お茶会の招待状を", "届けに来たよ！"}),
    Say(Slot0, {"知っているわ。みんなから聞いたもの。"}),
    Say(Slot1, {"じゃあ、話は早いね。", "……もしかして、やっぱり？"}),
    Say(Slot0, {"ええ、やっぱり。", "最後の星として、", "いちばん美しい弾幕でお迎えするわ。"}),
    Say(Slot1, {"よーし、これで最後だ！"}),
    EndOfScene(),
};

constexpr DialogueStep kStage6After[] = {
    Say(Slot1, {"これで……ぜんぶよけきった！"}),
    Say(Slot0, {"見事ね。でも最後に、とっておきを……"}),
    MakeStep(DialogueStepKind::BombFlash, None, {}),
    Say(Slot2, {"お祝いの花火よ。もちろんお茶会にも行くわ。"}),
    Say(Slot3, {"び、びっくりした……。", "でも、きれいな花火だった！", "ありがとう、サトちゃん。"}),
    Say(Slot3, {"これで六つの招待状、ぜんぶ届いた！"}),
    Say(Slot3, {"さあ、帰ってお茶会の準備だ！"}),
    EndOfScene(),
};

template <int N>
constexpr DialogueScript ScriptOf(const DialogueStep (&steps)[N], int firstIndex = 0) {
  return {firstIndex, steps, N};
}

// Stage 1's opening starts two steps before step 0, where its loader puts it.
constexpr DialogueScript kScripts[][2] = {
    {ScriptOf(kStage1Before, -2), ScriptOf(kStage1After)}, {ScriptOf(kStage2Before), ScriptOf(kStage2After)},
    {ScriptOf(kStage3Before), ScriptOf(kStage3After)},     {ScriptOf(kStage4Before), ScriptOf(kStage4After)},
    {ScriptOf(kStage5Before), ScriptOf(kStage5After)},     {ScriptOf(kStage6Before), ScriptOf(kStage6After)},
};
static_assert(std::size(kScripts) == 6);

void RunStageDialogue(int stage, DialogueMoment moment) { RunDialogue(StageDialogue(stage, moment)); }

}  // namespace

const DialogueScript& StageDialogue(int stage, DialogueMoment moment) {
  return kScripts[stage - 1][moment == DialogueMoment::AfterBattle ? 1 : 0];
}

void RunStage1DialogueBefore() { RunStageDialogue(1, DialogueMoment::BeforeBattle); }
void RunStage1DialogueAfter() { RunStageDialogue(1, DialogueMoment::AfterBattle); }
void RunStage2DialogueBefore() { RunStageDialogue(2, DialogueMoment::BeforeBattle); }
void RunStage2DialogueAfter() { RunStageDialogue(2, DialogueMoment::AfterBattle); }
void RunStage3DialogueBefore() { RunStageDialogue(3, DialogueMoment::BeforeBattle); }
void RunStage3DialogueAfter() { RunStageDialogue(3, DialogueMoment::AfterBattle); }
void RunStage4DialogueBefore() { RunStageDialogue(4, DialogueMoment::BeforeBattle); }
void RunStage4DialogueAfter() { RunStageDialogue(4, DialogueMoment::AfterBattle); }
void RunStage5DialogueBefore() { RunStageDialogue(5, DialogueMoment::BeforeBattle); }
void RunStage5DialogueAfter() { RunStageDialogue(5, DialogueMoment::AfterBattle); }
void RunStage6DialogueBefore() { RunStageDialogue(6, DialogueMoment::BeforeBattle); }
void RunStage6DialogueAfter() { RunStageDialogue(6, DialogueMoment::AfterBattle); }
