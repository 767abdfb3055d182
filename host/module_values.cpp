#include "host/module_values.h"

namespace fulmina {

HostModuleValues Fulmina_B;

}  // namespace fulmina
