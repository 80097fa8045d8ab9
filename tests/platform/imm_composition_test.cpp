// The input method's composition and results reaching a window as
// WM_IME_* messages, read back through Imm32 in code page 932.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/imm.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

const char* Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class ImmCompositionTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = window_class_.Create(WS_POPUP, 0, 320, 240);
    ShowWindow(window_, SW_SHOW);
    wqtest::DispatchQueued();
    window_class_.Clear();
    context_ = ImmGetContext(window_);
    ASSERT_NE(context_, nullptr);
  }
  void TearDown() override { ImmReleaseContext(window_, context_); }

  std::vector<UINT> ImeMessages() {
    wqtest::DispatchQueued();
    return window_class_.MessageIds(
        {WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_IME_NOTIFY, WM_CHAR});
  }

  std::string Read(DWORD index) {
    LONG size = ImmGetCompositionStringA(context_, index, nullptr, 0);
    EXPECT_GE(size, 0);
    std::string text(static_cast<std::size_t>(size), '\0');
    EXPECT_EQ(ImmGetCompositionStringA(context_, index, text.data(), static_cast<DWORD>(size)), size);
    return text;
  }

  LPARAM LastCompositionFlags() {
    for (auto it = window_class_.messages().rbegin(); it != window_class_.messages().rend(); ++it) {
      if (it->message == WM_IME_COMPOSITION) return it->lparam;
    }
    return -1;
  }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
  HIMC context_ = nullptr;
};

TEST_F(ImmCompositionTest, CompositionThenResultArriveAsImeMessagesInCodePage932) {
  WqControlInjectComposition(window_, Utf8(u8"にほん"), 2);
  EXPECT_EQ(ImeMessages(), (std::vector<UINT>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION}));
  EXPECT_EQ(LastCompositionFlags() & (GCS_COMPSTR | GCS_CURSORPOS), GCS_COMPSTR | GCS_CURSORPOS);
  EXPECT_EQ(Read(GCS_COMPSTR), "にほん");
  EXPECT_EQ(ImmGetCompositionStringA(context_, GCS_CURSORPOS, nullptr, 0), 4);
  EXPECT_EQ(Read(GCS_COMPATTR), std::string(6, ATTR_INPUT));

  window_class_.Clear();
  WqControlInjectText(window_, Utf8(u8"日本"));
  // The default procedure types the result for a window that lets it pass.
  EXPECT_EQ(ImeMessages(), (std::vector<UINT>{WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_CHAR,
                                              WM_CHAR, WM_CHAR, WM_CHAR}));
  EXPECT_EQ(LastCompositionFlags(), static_cast<LPARAM>(GCS_RESULTSTR));
  EXPECT_EQ(window_class_.messages().front().wparam, WPARAM{0x93FA});
  EXPECT_EQ(Read(GCS_RESULTSTR), "日本");
  EXPECT_EQ(Read(GCS_COMPSTR), "");
}

TEST_F(ImmCompositionTest, AnEmptyCompositionEndsIt) {
  WqControlInjectComposition(window_, "ab", 2);
  WqControlInjectComposition(window_, "", 0);
  EXPECT_EQ(ImeMessages(), (std::vector<UINT>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION,
                                              WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION}));
  EXPECT_EQ(Read(GCS_COMPSTR), "");
}

TEST_F(ImmCompositionTest, WithTheInputMethodDisabledOrClosedTextIsTypedAsCharacters) {
  const struct {
    bool enabled;
    bool open;
    bool through_ime;
  } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
  for (const auto& test : cases) {
    SCOPED_TRACE(testing::Message() << test.enabled << test.open);
    WINNLSEnableIME(window_, test.enabled);
    ImmSetOpenStatus(context_, test.open);
    wqtest::DispatchQueued();
    window_class_.Clear();
    WqControlInjectText(window_, Utf8(u8"日"));
    std::vector<UINT> expected = test.through_ime
                                     ? std::vector<UINT>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION,
                                                         WM_IME_ENDCOMPOSITION, WM_CHAR, WM_CHAR}
                                     : std::vector<UINT>{WM_CHAR, WM_CHAR};
    EXPECT_EQ(ImeMessages(), expected);
  }
}

TEST_F(ImmCompositionTest, OpenStatusChangesAreNotified) {
  EXPECT_TRUE(ImmGetOpenStatus(context_));
  ASSERT_TRUE(ImmSetOpenStatus(context_, FALSE));
  ASSERT_TRUE(ImmSetOpenStatus(context_, FALSE));
  EXPECT_FALSE(ImmGetOpenStatus(context_));
  EXPECT_EQ(ImeMessages(), std::vector<UINT>{WM_IME_NOTIFY});
  EXPECT_EQ(window_class_.messages().back().wparam, WPARAM{IMN_SETOPENSTATUS});
  DWORD conversion = 1;
  DWORD sentence = 0;
  ASSERT_TRUE(ImmGetConversionStatus(context_, &conversion, &sentence));
  EXPECT_EQ(conversion, 0u);
}

TEST_F(ImmCompositionTest, TheProgramSetsCancelsAndCompletesTheComposition) {
  const std::string text = "漢字";
  ASSERT_TRUE(ImmSetCompositionStringA(context_, SCS_SETSTR, text.data(), static_cast<DWORD>(text.size()),
                                       nullptr, 0));
  EXPECT_EQ(Read(GCS_COMPSTR), text);
  EXPECT_EQ(ImmGetCompositionStringA(context_, GCS_CURSORPOS, nullptr, 0), 4);
  ASSERT_TRUE(ImmNotifyIME(context_, NI_COMPOSITIONSTR, CPS_CANCEL, 0));
  EXPECT_EQ(Read(GCS_COMPSTR), "");
  EXPECT_FALSE(ImmNotifyIME(context_, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  ASSERT_TRUE(ImmSetCompositionStringA(context_, SCS_SETSTR, text.data(), static_cast<DWORD>(text.size()),
                                       nullptr, 0));
  ASSERT_TRUE(ImmNotifyIME(context_, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  EXPECT_EQ(Read(GCS_RESULTSTR), text);
  EXPECT_EQ(ImeMessages(),
            (std::vector<UINT>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_COMPOSITION,
                               WM_IME_ENDCOMPOSITION, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION,
                               WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_CHAR, WM_CHAR, WM_CHAR,
                               WM_CHAR}));
}

TEST_F(ImmCompositionTest, BadHandlesAndSmallBuffersAreRefused) {
  HIMC bogus = reinterpret_cast<HIMC>(context_ + 1);
  EXPECT_EQ(ImmGetCompositionStringA(bogus, GCS_COMPSTR, nullptr, 0), IMM_ERROR_GENERAL);
  EXPECT_FALSE(ImmGetOpenStatus(bogus));
  EXPECT_EQ(ImmGetContext(nullptr), nullptr);
  EXPECT_EQ(ImmGetCandidateListA(context_, 0, nullptr, 0), 0u);
  WqControlInjectComposition(window_, "abcd", 4);
  char small[2];
  EXPECT_EQ(ImmGetCompositionStringA(context_, GCS_COMPSTR, small, sizeof small), IMM_ERROR_GENERAL);
  EXPECT_EQ(ImmGetCompositionStringA(context_, 0x4000, nullptr, 0), IMM_ERROR_GENERAL);
}

}  // namespace
