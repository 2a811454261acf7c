// One field of a record type, a text or a number, named in tables by its
// member pointer.
#pragma once

#include <string>

namespace setutily {

template <class Record>
class FieldRef {
 public:
  FieldRef() = default;
  FieldRef(std::string Record::*text) : text_(text) {}  // NOLINT: tables list member pointers
  FieldRef(int Record::*number) : number_(number) {}    // NOLINT

  bool IsSet() const { return text_ != nullptr || number_ != nullptr; }
  bool IsText() const { return text_ != nullptr; }
  bool Differs(const Record& a, const Record& b) const {
    return IsText() ? a.*text_ != b.*text_ : a.*number_ != b.*number_;
  }
  void Copy(Record& to, const Record& from) const {
    if (IsText()) {
      to.*text_ = from.*text_;
    } else {
      to.*number_ = from.*number_;
    }
  }
  std::string& Text(Record& r) const { return r.*text_; }
  const std::string& Text(const Record& r) const { return r.*text_; }
  int& Number(Record& r) const { return r.*number_; }
  int Number(const Record& r) const { return r.*number_; }
  bool operator==(const FieldRef&) const = default;

 private:
  std::string Record::*text_ = nullptr;
  int Record::*number_ = nullptr;
};

}  // namespace setutily
