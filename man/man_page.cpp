// man_page: writes a manual page from its template, filling in the parts
// that the programs' own tables hold, so that the page and --help cannot
// tell different stories.
//   man_page VERSION TEMPLATE OUTPUT
// A template line that is exactly one of these is replaced:
//   @SETUTILY_OPTIONS@      the options of setutily (src/root/command_line.cpp)
//   @SETUTILY_EXIT_STATUS@  its exit statuses (src/root/command_line.h)
//   @SIM_OPTIONS@           the options of morivex9-sim (sim/sim_options.cpp)
//   @SIM_EXIT_STATUS@       its exit statuses (sim/sim_options.h)
// and @VERSION@ anywhere stands for VERSION. Any other @WORD@ is an error.
#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "root/command_line.h"
#include "sim_options.h"

namespace {

// The help's own line breaks and indents made one blank each.
std::string OneLine(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (c == ' ' || c == '\n' || c == '\t') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

// Text for a roff text line: backslashes and minus signs escaped.
std::string Roff(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// A help line as a sentence: first letter capital, a full stop at the end,
// the options it names in bold and the option's value name in italics.
std::string Sentence(std::string_view help, const char* valueName) {
  std::string text = OneLine(help);
  if (!text.empty() && std::islower(static_cast<unsigned char>(text[0]))) {
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  }
  if (!text.empty() && text.back() != '.') text += '.';
  const auto wordChar = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-';
  };
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = at;
    while (end < text.size() && wordChar(text[end])) ++end;
    if (end == at) {
      out += Roff(text.substr(at++, 1));
      continue;
    }
    const std::string word = text.substr(at, end - at);
    if (word.size() > 2 && word.starts_with("--")) {
      out += "\\fB" + Roff(word) + "\\fR";
    } else if (valueName != nullptr && word == valueName) {
      out += "\\fI" + Roff(word) + "\\fR";
    } else {
      out += Roff(word);
    }
    at = end;
  }
  return out;
}

// A text line that roff cannot take for a request.
std::string TextLine(std::string text) {
  if (!text.empty() && (text[0] == '.' || text[0] == '\'')) text.insert(0, "\\&");
  return text;
}

// One ".TP" entry of an option list.
void Option(std::ostream& out, const char* name, const char* shortName, const char* valueName,
            const char* help) {
  out << ".TP\n";
  if (shortName != nullptr) out << "\\fB\\-" << Roff(shortName) << "\\fR, ";
  out << "\\fB\\-\\-" << Roff(name) << "\\fR";
  if (valueName != nullptr) out << " \\fI" << Roff(valueName) << "\\fR";
  out << '\n' << TextLine(Sentence(help, valueName)) << '\n';
}

void ExitStatus(std::ostream& out, int status, const char* meaning, const char* shown = nullptr) {
  out << ".TP\n.B ";
  if (shown != nullptr) {
    out << shown;
  } else {
    out << status;
  }
  out << '\n' << TextLine(Roff(OneLine(meaning))) << '\n';
}

// Writes the part a placeholder line stands for; false for an unknown one.
bool Part(std::ostream& out, std::string_view placeholder) {
  if (placeholder == "@SETUTILY_OPTIONS@") {
    for (const auto& o : setutily::CommandLineOptions()) {
      Option(out, o.name, o.shortName, o.valueName, o.help);
    }
  } else if (placeholder == "@SETUTILY_EXIT_STATUS@") {
    for (const auto& e : setutily::kExitStatuses) ExitStatus(out, e.status, e.meaning, e.shown);
  } else if (placeholder == "@SIM_OPTIONS@") {
    for (const auto& o : morivex9sim::SimOptions()) {
      Option(out, o.name, o.shortName, o.valueName, o.help);
    }
  } else if (placeholder == "@SIM_EXIT_STATUS@") {
    for (const auto& e : morivex9sim::kSimExitStatuses) ExitStatus(out, e.status, e.meaning);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: man_page VERSION TEMPLATE OUTPUT\n";
    return 2;
  }
  const std::string version = argv[1];
  std::ifstream in(argv[2]);
  if (!in) {
    std::cerr << "man_page: cannot read " << argv[2] << '\n';
    return 1;
  }
  std::ostringstream page;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.size() > 2 && line.front() == '@' && line.back() == '@' &&
        line.find_first_of(" @", 1) == line.size() - 1) {
      if (!Part(page, line)) {
        std::cerr << argv[2] << ':' << number << ": unknown part " << line << '\n';
        return 1;
      }
      continue;
    }
    for (std::size_t at; (at = line.find("@VERSION@")) != std::string::npos;) {
      line.replace(at, 9, version);
    }
    if (const std::size_t at = line.find('@'); at != std::string::npos) {
      const std::size_t end = line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_", at + 1);
      if (end != std::string::npos && end > at + 1 && line[end] == '@') {
        std::cerr << argv[2] << ':' << number << ": unknown placeholder "
                  << line.substr(at, end + 1 - at) << '\n';
        return 1;
      }
    }
    page << line << '\n';
  }
  std::ofstream out(argv[3], std::ios::trunc);
  out << page.str();
  out.close();
  if (!out) {
    std::cerr << "man_page: cannot write " << argv[3] << '\n';
    return 1;
  }
  return 0;
}
