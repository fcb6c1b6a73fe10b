// The settings store's interface.
#include "platform/registrystore.h"

namespace vlr {

RegistryKey::~RegistryKey() = default;
RegistryStore::~RegistryStore() = default;

} // namespace vlr
