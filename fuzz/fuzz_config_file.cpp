// The configuration file (a backup given to --diff, --apply or 設定の復元…)
// with any contents, checked and taken as a run does before it touches the
// device.
//
// Properties besides surviving: a refusal names a line of the file (or the
// file as a whole) and a reason; a file the check accepts is taken whole,
// and what applying it would send holds no control byte (one command a
// line, never a second one inside it).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "link/exchange.h"
#include "root/config_categories.h"
#include "settings/config_file.h"

using namespace setutily;
using setutily::fuzz::Require;

namespace {

// PendingConfig gives the commands without their carriage return.
bool CommandSafe(const std::string& command) {
  return !command.empty() && std::none_of(command.begin(), command.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<ConfigCategory> categories = BuildConfigCategories();
  const std::string_view text = fuzz::AsText(data, size);
  ConfigError error;
  if (!CheckConfig(categories, text, {.anyModel = true}, error)) {
    const long long lines = std::count(text.begin(), text.end(), '\n') + 1;
    Require(!error.reason.empty(), "a refusal says why");
    Require(error.line >= 0 && error.line <= lines, "a refusal names a line of the file");
    return 0;
  }
  CommandExchange exchange;
  DeviceContext context(exchange);
  Require(TakeConfig(context, categories, text, error, ConfigRules::kGivenFields),
          "a checked file is taken");
  for (const std::string& command : PendingConfig(context, categories)) {
    Require(CommandSafe(command), "a command sent holds no control byte");
  }
  return 0;
}
