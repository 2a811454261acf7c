// Every category's record reader on arbitrary reply text, through the real
// command exchange over an in-memory transport that answers each command
// with the next reply of the input.
//
// Property besides surviving: right after a read, writing the record back
// unchanged sends nothing (what a form shows is what confirming it
// unchanged stores).
//
// Adding a category: one row in kCategories below, with its read and the
// writes of all its groups.
//
// Input: byte 0 picks the category; the rest is the replies, separated by
// 0x1E bytes (the last one answers every later command).
#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

#include "analog/analog_settings.h"
#include "fuzz/fuzz_support.h"
#include "link/exchange.h"
#include "settings/context.h"
#include "speeddial/speed_dial_settings.h"

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

// Reads a fresh record; when every reply arrived, writes all of it back
// unchanged, which must send nothing.
template <class Record>
void ReadThenWriteBack(DeviceContext& context, const ReplayTransport& transport,
                       int (*read)(DeviceContext&, Record&),
                       void (*writeAll)(DeviceContext&, Record&)) {
  Record record;
  if (read(context, record) != 1) return;
  const int sentByRead = transport.Sent();
  writeAll(context, record);
  Require(transport.Sent() == sentByRead, "an unchanged record read back sends nothing");
}

struct CategoryReader {
  const char* name;
  void (*run)(DeviceContext& context, const ReplayTransport& transport);
};

const CategoryReader kCategories[] = {
    {"analog",
     [](DeviceContext& c, const ReplayTransport& t) {
       ReadThenWriteBack<AnalogCategory>(c, t, ReadAnalogSettings, [](DeviceContext& c, AnalogCategory& a) {
         for (int group = kAnalogTel1; group <= kAnalogCommon; ++group) {
           WriteAnalogSettings(c, a, group);
         }
       });
     }},
    {"speed dial",
     [](DeviceContext& c, const ReplayTransport& t) {
       ReadThenWriteBack<SpeedDialList>(c, t, ReadSpeedDial,
                                        [](DeviceContext& c, SpeedDialList& l) { WriteSpeedDial(c, l); });
     }},
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
  const CategoryReader& category = kCategories[data[0] % std::size(kCategories)];
  ReplayTransport transport(SplitAt(fuzz::AsText(data + 1, size - 1), '\x1e'));
  CommandExchange exchange;
  exchange.SetTransport(&transport);
  DeviceContext context(exchange);
  context.timing.commandMs = 0;  // a reply without its prompt fails at once
  category.run(context, transport);
  return 0;
}
