// Every category's record reader on arbitrary reply text, through the real
// command exchange over an in-memory transport that answers each command
// with the next reply of the input.
//
// Properties besides surviving: right after a read, writing the record back
// unchanged sends nothing (what a form shows is what confirming it
// unchanged stores), and every configuration-file command of the record is
// one the file reader knows.
//
// Every category the program lists (BuildConfigCategories) is covered; a
// new category needs nothing here.
//
// Input: byte 0 picks the category; the rest is the replies, separated by
// 0x1E bytes (the last one answers every later command).
#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "link/exchange.h"
#include "root/config_categories.h"
#include "settings/config.h"

using namespace setutily;
using setutily::fuzz::Require;

namespace {

// Answers each command at once with the next reply and the prompt.
class ReplayTransport : public ByteTransport {
 public:
  explicit ReplayTransport(std::vector<std::string_view> replies) : replies_(std::move(replies)) {}
  bool IsOpen() const override { return true; }
  qint64 Send(const QByteArray& bytes) override {
    ++sent_;
    const std::string_view reply = replies_[std::min(next_, replies_.size() - 1)];
    ++next_;
    QByteArray answer(reply.data(), static_cast<qsizetype>(reply.size()));
    answer.append("\r\n# ");
    emit BytesReceived(answer);
    return bytes.size();
  }
  int Sent() const { return sent_; }

 private:
  std::vector<std::string_view> replies_;
  std::size_t next_ = 0;
  int sent_ = 0;
};

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // Every category of the program, through the tables its forms use.
  static const std::vector<ConfigCategory> categories = BuildConfigCategories();
  const ConfigCategory& category = categories[data[0] % categories.size()];
  ReplayTransport transport(SplitAt(fuzz::AsText(data + 1, size - 1), '\x1e'));
  CommandExchange exchange;
  exchange.SetTransport(&transport);
  DeviceContext context(exchange);
  context.timing.commandMs = 0;  // a reply without its prompt fails at once
  if (category.read(context) != 1) return 0;
  // Read and written back unchanged, a record sends nothing.
  const int sentByRead = transport.Sent();
  for (const ConfigGroup& group : category.groups) group.write(context);
  Require(transport.Sent() == sentByRead, "an unchanged record read back sends nothing");
  // The configuration-file commands of one group (picked by the input's
  // length) go through the file reader again: about sixteen of them, spread
  // over the group and shifted by the input, so that a list's hundreds of
  // lines do not slow every run down.
  const ConfigGroup& group = category.groups[size % category.groups.size()];
  std::vector<std::string> commands;
  group.dump(context, commands);
  std::string why;
  int setting = 0;
  const std::size_t step = std::max<std::size_t>(1, commands.size() / 16);
  for (std::size_t i = size % step; i < commands.size(); i += step) {
    Require(group.take(context, commands[i], why, setting) != LineFit::kOther,
            "a dumped command is known to its group");
  }
  return 0;
}
