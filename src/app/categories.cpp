#include "app/category.h"
#include "app/session.h"

namespace setutily {

std::vector<CategoryLaunch> BuildCategories(Session& session) {
  std::vector<CategoryLaunch> categories;
  (void)session;
  return categories;
}

}  // namespace setutily
