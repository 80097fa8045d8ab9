#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/control.h"
#include "platform/windows.h"
#include "support/wait_until.h"
#include "window_test_support.h"

namespace {

using wqtest::RecordingWindowClass;

class MessageInputTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = window_class_.Create(WS_POPUP, 0, 320, 240);
    ShowWindow(window_, SW_SHOW);
    wqtest::DispatchQueued();
  }

  // The queued messages of the kinds asked for, after dispatching all.
  std::vector<MSG> Taken(std::initializer_list<UINT> kinds) {
    std::vector<MSG> wanted;
    for (const MSG& msg : wqtest::DispatchQueued()) {
      if (std::find(kinds.begin(), kinds.end(), msg.message) != kinds.end()) wanted.push_back(msg);
    }
    return wanted;
  }

  RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(MessageInputTest, AKeyBecomesKeyDownCharAndKeyUpWithItsCodes) {
  WqControlInjectKey(window_, 'A', true);
  WqControlInjectKey(window_, 'A', false);
  std::vector<MSG> taken = Taken({WM_KEYDOWN, WM_CHAR, WM_KEYUP});
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].message, WM_KEYDOWN);
  EXPECT_EQ(taken[0].wParam, WPARAM{'A'});
  // Repeat count 1, scan code 0x1E, not extended, no previous state.
  EXPECT_EQ(taken[0].lParam, 0x001E0001);
  EXPECT_EQ(taken[1].message, WM_CHAR);
  EXPECT_EQ(taken[1].wParam, WPARAM{'a'});
  EXPECT_EQ(taken[2].message, WM_KEYUP);
  EXPECT_EQ(static_cast<DWORD>(taken[2].lParam), 0xC01E0001u);
}

TEST_F(MessageInputTest, KeyCodesTable) {
  struct KeyCase {
    BYTE virtual_key;
    DWORD lparam;  // of the key-down
    std::vector<WPARAM> characters;
  };
  const KeyCase cases[] = {
      {VK_RETURN, 0x001C0001, {'\r'}},
      {VK_ESCAPE, 0x00010001, {0x1B}},
      {VK_BACK, 0x000E0001, {0x08}},
      {VK_SPACE, 0x00390001, {' '}},
      {VK_LEFT, 0x014B0001, {}},  // extended
      {VK_F1, 0x003B0001, {}},
      {'7', 0x00080001, {'7'}},
  };
  for (const KeyCase& key : cases) {
    SCOPED_TRACE(key.virtual_key);
    WqControlInjectKey(window_, key.virtual_key, true);
    WqControlInjectKey(window_, key.virtual_key, false);
    std::vector<MSG> taken = Taken({WM_KEYDOWN, WM_CHAR});
    ASSERT_EQ(taken.size(), 1 + key.characters.size());
    EXPECT_EQ(taken[0].wParam, key.virtual_key);
    EXPECT_EQ(static_cast<DWORD>(taken[0].lParam), key.lparam);
    for (std::size_t i = 0; i < key.characters.size(); ++i) {
      EXPECT_EQ(taken[1 + i].wParam, key.characters[i]);
    }
  }
}

TEST_F(MessageInputTest, ShiftControlAndAltChangeWhatIsTypedAndSent) {
  WqControlInjectKey(window_, VK_SHIFT, true);
  WqControlInjectKey(window_, '1', true);
  WqControlInjectKey(window_, '1', false);
  WqControlInjectKey(window_, VK_SHIFT, false);
  std::vector<MSG> chars = Taken({WM_CHAR});
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, WPARAM{'!'});

  WqControlInjectKey(window_, VK_CONTROL, true);
  WqControlInjectKey(window_, 'C', true);
  WqControlInjectKey(window_, 'C', false);
  WqControlInjectKey(window_, VK_CONTROL, false);
  chars = Taken({WM_CHAR});
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, WPARAM{0x03});

  // Alt turns keys into system keys, with the context bit set.
  WqControlInjectKey(window_, VK_MENU, true);
  WqControlInjectKey(window_, 'X', true);
  WqControlInjectKey(window_, 'X', false);
  WqControlInjectKey(window_, VK_MENU, false);
  std::vector<MSG> system = Taken({WM_SYSKEYDOWN, WM_KEYDOWN, WM_CHAR});
  ASSERT_EQ(system.size(), 2u);
  EXPECT_EQ(system[1].message, WM_SYSKEYDOWN);
  EXPECT_EQ(system[1].wParam, WPARAM{'X'});
  EXPECT_TRUE(system[1].lParam & (1 << 29));
}

TEST_F(MessageInputTest, AHeldKeyRepeatsWithThePreviousStateBit) {
  WqControlInjectKey(window_, 'W', true);
  WqControlInjectKey(window_, 'W', true);
  WqControlInjectKey(window_, 'W', false);
  std::vector<MSG> downs = Taken({WM_KEYDOWN});
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_FALSE(downs[0].lParam & (1 << 30));
  EXPECT_TRUE(downs[1].lParam & (1 << 30));
}

TEST_F(MessageInputTest, TypedJapaneseTextArrivesAsShiftJisBytes) {
  // The window system speaks UTF-8.
  WqControlInjectText(window_, reinterpret_cast<const char*>(u8"表示"));
  std::vector<MSG> chars = Taken({WM_CHAR});
  ASSERT_EQ(chars.size(), 4u);
  // 表 is 0x95 0x5C and 示 is 0x8E 0xA6 in code page 932.
  EXPECT_EQ(chars[0].wParam, 0x95u);
  EXPECT_EQ(chars[1].wParam, 0x5Cu);
  EXPECT_EQ(chars[2].wParam, 0x8Eu);
  EXPECT_EQ(chars[3].wParam, 0xA6u);
}

TEST_F(MessageInputTest, TextLongerThanOneWindowSystemEventArrivesWhole) {
  // 40 characters of 3 UTF-8 bytes: several events, none splitting one.
  std::string text;
  for (int i = 0; i < 40; ++i) text += reinterpret_cast<const char*>(u8"表");
  WqControlInjectText(window_, text.c_str());
  std::vector<MSG> chars = Taken({WM_CHAR});
  ASSERT_EQ(chars.size(), 80u);
  for (std::size_t i = 0; i < chars.size(); i += 2) {
    EXPECT_EQ(chars[i].wParam, 0x95u);
    EXPECT_EQ(chars[i + 1].wParam, 0x5Cu);
  }
}

TEST_F(MessageInputTest, MouseMovesButtonsAndWheel) {
  WqControlInjectMouse(window_, 10, 20, 0, 0);
  WqControlInjectMouse(window_, 10, 20, MK_LBUTTON, 0);
  WqControlInjectMouse(window_, 11, 20, MK_LBUTTON, 0);
  WqControlInjectMouse(window_, 11, 20, 0, -2);
  WqControlInjectMouse(window_, 11, 20, MK_XBUTTON1, 0);
  window_class_.Clear();
  std::vector<MSG> taken =
      Taken({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEWHEEL, WM_XBUTTONDOWN});
  ASSERT_EQ(taken.size(), 6u);
  EXPECT_EQ(taken[0].message, WM_MOUSEMOVE);
  EXPECT_EQ(taken[0].lParam, MAKELONG(10, 20));
  EXPECT_EQ(taken[1].message, WM_LBUTTONDOWN);
  EXPECT_EQ(taken[1].wParam, WPARAM{MK_LBUTTON});
  EXPECT_EQ(taken[2].message, WM_MOUSEMOVE);
  EXPECT_EQ(taken[2].wParam, WPARAM{MK_LBUTTON});
  EXPECT_EQ(taken[3].message, WM_LBUTTONUP);
  EXPECT_EQ(taken[3].wParam, WPARAM{0});
  EXPECT_EQ(taken[4].message, WM_MOUSEWHEEL);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(taken[4].wParam), -2 * WHEEL_DELTA);
  // The wheel carries the pointer in screen coordinates.
  POINT client{11, 20};
  ClientToScreen(window_, &client);
  EXPECT_EQ(taken[4].lParam, MAKELONG(client.x, client.y));
  // A side button names itself in the high word.
  EXPECT_EQ(taken[5].message, WM_XBUTTONDOWN);
  EXPECT_EQ(taken[5].wParam, WPARAM(MAKELONG(MK_XBUTTON1, XBUTTON1)));

  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, client.x);
  EXPECT_EQ(cursor.y, client.y);
}

TEST_F(MessageInputTest, ClosingAsAUserWouldSendsCloseThenDestroy) {
  window_class_.Clear();
  WqControlCloseWindow(window_);
  wqtest::DispatchQueued();
  EXPECT_EQ(window_class_.MessageIds({WM_CLOSE, WM_DESTROY}),
            (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(MessageInputTest, FocusAwayAndBackDeactivatesAndActivates) {
  window_class_.Clear();
  WqControlSetWindowFocus(window_, false);
  wqtest::DispatchQueued();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  WqControlSetWindowFocus(window_, true);
  wqtest::DispatchQueued();
  EXPECT_EQ(GetActiveWindow(), window_);

  const auto& messages = window_class_.messages();
  std::vector<std::pair<UINT, WPARAM>> activation;
  for (const auto& message : messages) {
    if (message.message == WM_ACTIVATE || message.message == WM_ACTIVATEAPP) {
      activation.emplace_back(message.message, LOWORD(message.wparam));
    }
  }
  EXPECT_EQ(activation, (std::vector<std::pair<UINT, WPARAM>>{{WM_ACTIVATE, WA_INACTIVE},
                                                              {WM_ACTIVATEAPP, FALSE},
                                                              {WM_ACTIVATEAPP, TRUE},
                                                              {WM_ACTIVATE, WA_ACTIVE}}));
}

TEST_F(MessageInputTest, InputInjectedFromAnotherThreadReachesTheWindowsThread) {
  std::thread([&] { WqControlSetWindowFocus(window_, false); }).join();
  // Nothing happens until the window's thread reads its queue.
  EXPECT_EQ(GetActiveWindow(), window_);
  wqtest::DispatchQueued();
  EXPECT_EQ(GetActiveWindow(), nullptr);

  // The focus comes back while this thread is blocked in GetMessageA, which
  // wakes for the event and returns the message posted after it; the
  // activation itself was sent on this thread meanwhile.
  const pid_t reader = wqtest::CurrentThreadId();
  std::atomic<bool> seen_blocked{false};
  std::thread user([&] {
    seen_blocked = wqtest::WaitUntil([&] { return wqtest::ThreadIsBlocked(reader); });
    WqControlSetWindowFocus(window_, true);
    PostMessageA(window_, WM_USER, 0, 0);
  });
  MSG msg;
  ASSERT_EQ(GetMessageA(&msg, nullptr, WM_USER, WM_USER), TRUE);
  user.join();
  EXPECT_TRUE(seen_blocked) << "GetMessageA never waited";
  EXPECT_EQ(GetActiveWindow(), window_);
}

}  // namespace
