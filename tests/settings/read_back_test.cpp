// What a read takes as a settings page, and how a value sent compares with
// the value the device reports.
#include <gtest/gtest.h>

#include "forms/session.h"
#include "settings/read_back.h"
#include "support/sim_harness.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

struct Page {
  std::string name;
  int mode = 0;
  int used = 0;
  std::string a, b;
};

const Settings<Page> kLabelled = {Text(&Page::name, "name:"), Number(&Page::mode, "mode:")};
const Settings<Page> kList = {Presence(&Page::used, "add {} %s,%s\r", "del {}\r", Text(&Page::a),
                                       Text(&Page::b))};

TEST(CheckPage, AnErrorLineOrNoneOfThePagesLabelsOrListLinesFailsTheRead) {
  using Kind = ReadFailure::Kind;
  const struct {
    const char* reply;
    const Settings<Page>* settings;
    Kind failure;
  } kCases[] = {
      {"show p\r\nname: x\r\nmode: 1\r\n# ", &kLabelled, Kind::kNone},
      {"show p\r\nmode: 1\r\n# ", &kLabelled, Kind::kNone},  // some labels: a page
      {"show p\r\n% Error: unknown command\r\n# ", &kLabelled, Kind::kRefused},
      {"show p\r\nname: % Error\r\n# ", &kLabelled, Kind::kNone},  // a value, not a line
      {"show p\r\nsomething else\r\n# ", &kLabelled, Kind::kNotAPage},
      {"show p\r\n# ", &kLabelled, Kind::kNotAPage},
      {"show p\r\n# ", &kList, Kind::kNone},  // an empty list
      {"show p\r\n\r\n 1: a, b\r\n 2: c, d\r\n# ", &kList, Kind::kNone},
      {" 3: a, b\r\n  more about 3\r\n# ", &kList, Kind::kNone},  // no echo; a block
      {"show p\r\n% Error: unknown command\r\n# ", &kList, Kind::kRefused},
      {"show p\r\nname: x\r\n# ", &kList, Kind::kNotAPage},  // another page
      {"show p\r\n\x7f\x1b@@\r\n# ", &kList, Kind::kNotAPage},  // line noise
  };
  testing::InProcessRig rig;
  testing::RecordingMessages messages;
  testing::RecordingHelp help;
  Session session(rig.exchange, messages, help);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.reply);
    session.replyText = c.reply;
    session.readFailure = {};
    EXPECT_EQ(CheckPage(session, "show p\r", *c.settings, {}, c.settings == &kLabelled),
              c.failure == Kind::kNone ? 1 : 0);
    EXPECT_EQ(session.readFailure.kind, c.failure);
    EXPECT_EQ(session.readFailure.command, c.failure != Kind::kNone ? "show p" : "");
  }
}

TEST(SameAsRead, TheValueSentComparesAsTheReadTakesIt) {
  const struct {
    std::string sent, read;
    TextRule rule;
    std::string_view blank;
    bool sentBlank;
    bool same;
  } kCases[] = {
      {"ISP", "ISP", TextRule::kAny, {}, false, true},
      {"\x83\x65\x83\x58\x83\x67ISP", "", TextRule::kAny, {}, false, false},  // refused
      {"", "0.0.0.0", TextRule::kAddress, "0.0.0.0", true, true},  // sent as the blank
      {"", "0.0.0.0", TextRule::kAddress, "0.0.0.0", false, true},  // the blank shown empty
      {"", "0.0.0.0", TextRule::kAddress, {}, false, false},
      {"192.168.000.001", "192.168.0.1", TextRule::kAddress, {}, false, true},
      {"192.168.0.1.5", "192.168.0.1", TextRule::kAddress, {}, false, false},
      {"10.0.0.1/24", "10.0.0.1/8", TextRule::kPrefixedAddress, {}, false, false},
      {" pc 1 ", "pc 1", TextRule::kAny, {}, false, true},  // a list line is trimmed
      {std::string(70, 'x'), std::string(64, 'x'), TextRule::kAny, {}, false, true},  // cut
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.sent);
    EXPECT_EQ(SameAsRead(c.sent, c.read, c.rule, c.blank, c.sentBlank, 64), c.same);
  }
}

}  // namespace
}  // namespace setutily
