// Shared by the fuzz targets: property checks that stop the run with a
// message (libFuzzer then keeps the input as a crash artifact), and the Qt
// application object that signals and timers need.
#pragma once

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace setutily::fuzz {

[[noreturn]] inline void Fail(const char* property) {
  std::fprintf(stderr, "property failed: %s\n", property);
  std::abort();
}

inline void Require(bool holds, const char* property) {
  if (!holds) Fail(property);
}

// One QCoreApplication for the process, made on first use.
inline void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace setutily::fuzz
