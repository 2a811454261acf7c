#include "root/setting_forms.h"

namespace setutily {

DifferenceList FormDifferences(Session& session) {
  DifferenceList out;
  ForEachForm(session, [&out](auto& copies, const auto& description, int instances) {
    AddDifferences(out, copies, description, instances);
  });
  return out;
}

}  // namespace setutily
