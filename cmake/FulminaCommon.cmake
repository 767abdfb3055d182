# Sources shared by the native and the Windows builds.
set(FULMINA_RENDERER_CORE_SOURCES
  renderer/crt_rand.cpp
  renderer/bolt_node.cpp
  renderer/particle_emitter.cpp
  renderer/strike_scene.cpp
  renderer/frame.cpp
  renderer/texture_size.cpp
)

function(fulmina_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local)
endfunction()
