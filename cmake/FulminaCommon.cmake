# Sources shared by the native and the Windows builds.
# What both programs decide alike: which entries of the shared folder are plain.
set(FULMINA_COMMON_CORE_SOURCES common/plain_file.cpp)

set(FULMINA_RENDERER_CORE_SOURCES
  renderer/renderer_state.cpp
  renderer/crt_rand.cpp
  renderer/bolt_node.cpp
  renderer/particle_emitter.cpp
  renderer/strike_scene.cpp
  renderer/frame.cpp
  renderer/frame_pacer.cpp
  renderer/extension_list.cpp
  renderer/texture_size.cpp
  renderer/dark_monitors.cpp
  renderer/letterbox.cpp
  renderer/foreground_rule.cpp
  renderer/picture_check.cpp
)

# The animated GIF control's portable codec and clock.
set(FULMINA_GIF_CORE_SOURCES
  controls/gif/gif_stream.cpp
  controls/gif/gif_decoder.cpp
  controls/gif/gif_writer.cpp
  controls/gif/gif_clock.cpp
  controls/gif/gif_layout.cpp
)

# The forms layer's portable part: units, property bags, font descriptions.
set(FULMINA_FORMS_CORE_SOURCES
  forms/units.cpp
  forms/property_bag.cpp
  forms/font_description.cpp
)

set(FULMINA_HOST_CORE_SOURCES
  host/module_values.cpp
  host/mode_letter.cpp
  host/paths.cpp
  host/setting_number.cpp
  host/settings_file.cpp
  host/settings_save_plan.cpp
  host/music_player.cpp
  host/renderer_watch.cpp
  host/settings/command_states.cpp
  host/settings/command_face.cpp
)

function(fulmina_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local)
endfunction()
