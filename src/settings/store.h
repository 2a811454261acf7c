// The records of every category, each as its baseline and working copy, in
// one store for the run. A category reaches its record by type, so two
// launches that share a record (the digital record of "デジタル設定" and
// "詳細設定") share one copy, and nothing here knows the categories.
#pragma once

#include <memory>
#include <typeindex>
#include <unordered_map>

#include "settings/copies.h"

namespace setutily {

class DeviceSettings {
 public:
  // The copies of Record, created with default values on first use.
  template <class Record>
  SettingsCopies<Record>& Of() {
    std::shared_ptr<void>& slot = records_[std::type_index(typeid(Record))];
    if (!slot) slot = std::make_shared<SettingsCopies<Record>>();
    return *static_cast<SettingsCopies<Record>*>(slot.get());
  }

 private:
  std::unordered_map<std::type_index, std::shared_ptr<void>> records_;
};

}  // namespace setutily
