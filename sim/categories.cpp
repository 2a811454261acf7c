#include "categories/categories.h"
#include "device.h"

namespace morivex9sim {

void RegisterCategories(Device& device) {
  RegisterAnalog(device);
  RegisterIncoming(device);
  RegisterDigital(device);
  RegisterSpeedDial(device);
  RegisterRouter(device);
  RegisterLan(device);
  RegisterWan(device);
}

}  // namespace morivex9sim
