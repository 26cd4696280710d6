#include "frame_loop.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A scripted message queue and keyboard. Each drain is the list of messages the peeks of one
// pass yield before the peek that finds nothing; Escape's state is given per pass.
struct Script {
  std::vector<std::vector<MSG>> drains;
  std::vector<SHORT> escapeStates;
  size_t drain = 0, taken = 0, escapePolls = 0;
  std::vector<std::string> calls;
};
Script script;

const HWND kMainWindow = reinterpret_cast<HWND>(0x1234);
// Returned once the script has run out, so that a loop that fails to stop still ends.
const WPARAM kScriptRanOut = 999;

MSG Message(UINT message, WPARAM wParam = 0) {
  MSG record = {};
  record.hwnd = message == WM_QUIT ? nullptr : kMainWindow;
  record.message = message;
  record.wParam = wParam;
  return record;
}

void Log(const std::string& call, UINT message) {
  script.calls.push_back(call + std::to_string(message));
}

BOOL WINAPI Peek(LPMSG record, HWND window, UINT first, UINT last, UINT remove) {
  EXPECT_EQ(nullptr, window);
  EXPECT_EQ(0u, first);
  EXPECT_EQ(0u, last);
  EXPECT_EQ(static_cast<UINT>(PM_REMOVE), remove);
  if (script.drain >= script.drains.size()) {
    *record = Message(WM_QUIT, kScriptRanOut);
    return TRUE;
  }
  const std::vector<MSG>& messages = script.drains[script.drain];
  if (script.taken < messages.size()) {
    *record = messages[script.taken++];
    Log("take ", record->message);
    return TRUE;
  }
  script.drain++;
  script.taken = 0;
  script.calls.push_back("empty");
  return FALSE;
}
BOOL WINAPI Translate(const MSG* record) {
  Log("translate ", record->message);
  return FALSE;
}
LRESULT WINAPI Dispatch(const MSG* record) {
  Log("dispatch ", record->message);
  return 0;
}
SHORT WINAPI EscapeState(int key) {
  EXPECT_EQ(VK_ESCAPE, key);
  script.calls.push_back("escape?");
  size_t poll = script.escapePolls++;
  return poll < script.escapeStates.size() ? script.escapeStates[poll] : 0;
}
BOOL WINAPI Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  EXPECT_EQ(kMainWindow, window);
  EXPECT_EQ(0u, wParam);
  EXPECT_EQ(0, lParam);
  Log("post ", message);
  return TRUE;
}
void Frame() { script.calls.push_back("frame"); }

const MessageOps kScripted = {Peek, Translate, Dispatch, EscapeState, Post};

int Count(const std::string& call) {
  int count = 0;
  for (const std::string& logged : script.calls) count += logged == call;
  return count;
}

const SHORT kDown = static_cast<SHORT>(0x8000);
const SHORT kPressedSinceLastQuery = 0x0001;
const SHORT kDownAndPressed = static_cast<SHORT>(0x8001);

void Play(const std::vector<std::vector<MSG>>& drains, const std::vector<SHORT>& escapeStates) {
  script = Script{};
  script.drains = drains;
  script.escapeStates = escapeStates;
}

struct Case {
  const char* name;
  std::vector<std::vector<MSG>> drains;
  std::vector<SHORT> escapeStates;
  FrameWork frameWork;
  int exitCode;
  int frames;
  int destroysPosted;
};

TEST(FrameLoop, EndsOnQuitWithItsCodeAndRunsEveryOtherPassFully) {
  const Case cases[] = {
      {"quit at once", {{Message(WM_QUIT)}}, {}, Frame, 0, 0, 0},
      {"exit code is the quit's wParam", {{}, {Message(WM_QUIT, 42)}}, {}, Frame, 42, 1, 0},
      {"a message after the quit in one drain",
       {{}, {Message(WM_QUIT, 7), Message(WM_PAINT)}},
       {},
       Frame,
       7,
       1,
       0},
      {"passes that take nothing still do frame work",
       {{Message(WM_PAINT)}, {}, {}, {Message(WM_QUIT)}},
       {},
       Frame,
       0,
       3,
       0},
      {"no frame work", {{}, {}, {Message(WM_QUIT)}}, {}, nullptr, 0, 0, 0},
      {"escape held posts a destroy every pass",
       {{}, {}, {}, {Message(WM_DESTROY), Message(WM_QUIT)}},
       {kDown, kDown, kDownAndPressed},
       Frame,
       0,
       3,
       3},
      {"escape pressed-since-last-query bit alone does nothing",
       {{}, {}, {Message(WM_QUIT)}},
       {kPressedSinceLastQuery, kPressedSinceLastQuery},
       Frame,
       0,
       2,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Play(c.drains, c.escapeStates);
    EXPECT_EQ(c.exitCode, RunFrameLoopWith(kScripted, kMainWindow, c.frameWork));
    EXPECT_EQ(c.frames, Count("frame"));
    EXPECT_EQ(c.destroysPosted, Count("post 2"));
    EXPECT_EQ(c.drains.size(), script.drain) << "the loop went on after its quit";
  }
}

TEST(FrameLoop, PassRunsDrainQuitTestFrameWorkEscapePollInOrder) {
  Play({{Message(WM_PAINT), Message(WM_SIZE)}, {}, {Message(WM_DESTROY)}, {Message(WM_QUIT)}},
       {0, kDown, 0});
  EXPECT_EQ(0, RunFrameLoopWith(kScripted, kMainWindow, Frame));
  const std::vector<std::vector<std::string>> passes = {
      {"take 15", "translate 15", "dispatch 15", "take 5", "translate 5", "dispatch 5", "empty",
       "frame", "escape?"},
      {"empty", "frame", "escape?", "post 2"},  // Escape down
      {"take 2", "translate 2", "dispatch 2", "empty", "frame", "escape?"},
      {"take 18", "translate 18", "dispatch 18", "empty"},  // the quit: no frame work
  };
  std::vector<std::string> expected;
  for (const auto& pass : passes) expected.insert(expected.end(), pass.begin(), pass.end());
  EXPECT_EQ(expected, script.calls);
}

}  // namespace
