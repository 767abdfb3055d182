#include "renderer/renderer_state.h"

namespace fulmina {

RendererState rendererState;

}  // namespace fulmina
