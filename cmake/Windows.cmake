# Windows build (MinGW-w64): the programs, and the tests that need Windows,
# which ctest runs under Wine through the emulator wrapper.
option(FULMINA_REGISTER_TESTS "Register this build's tests with ctest" ON)
set(FULMINA_WINE_ENV_DIR "${CMAKE_BINARY_DIR}/wine-env" CACHE PATH "The Wine test environment")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run ${FULMINA_WINE_ENV_DIR})

# Nothing but the system's own DLLs at run time.
add_link_options(-static -static-libgcc -static-libstdc++)
# The same commit builds the same bytes: no time stamp in the programs, no
# build folder in what they hold.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)

# The programs' version resources, from the project's version.
foreach(program scr dll)
  if(program STREQUAL "scr")
    set(FULMINA_FILE_NAME Fulmina.scr)
    set(FULMINA_FILE_DESCRIPTION Fulmina)
  else()
    set(FULMINA_FILE_NAME Fulmina.dll)
    set(FULMINA_FILE_DESCRIPTION "Fulmina lightning renderer")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version_info.rc.in ${CMAKE_BINARY_DIR}/version_${program}.rc @ONLY)
endforeach()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

# What both programs share of Windows: entries of the shared folder looked at
# as themselves, the user the process runs as, files read whole and pictures
# decoded from memory.
add_library(common_win32 STATIC ${FULMINA_COMMON_CORE_SOURCES}
  common/plain_file_win32.cpp common/process_user_win32.cpp common/file_bytes_win32.cpp)
target_include_directories(common_win32 PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(common_win32 PUBLIC advapi32 ole32 oleaut32 uuid)
fulmina_warnings(common_win32)

set(FULMINA_RENDERER_WIN32_SOURCES
  renderer/renderer_window_win32.cpp
  renderer/texture_loader_win32.cpp
  renderer/own_file_win32.cpp
  renderer/frame_loop_win32.cpp
  renderer/display_pace_win32.cpp
  renderer/message_queue_clock_win32.cpp
  renderer/dark_monitors_win32.cpp
)
set(FULMINA_RENDERER_WIN32_LIBS opengl32 glu32 gdi32 ole32 oleaut32 uuid winmm)

add_library(renderer_win32 STATIC ${FULMINA_RENDERER_CORE_SOURCES} ${FULMINA_RENDERER_WIN32_SOURCES})
target_include_directories(renderer_win32 PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(renderer_win32 PUBLIC common_win32 ${FULMINA_RENDERER_WIN32_LIBS})
fulmina_warnings(renderer_win32)

# The renderer is an ordinary executable that carries the name the host starts,
# and a manifest that makes it per-monitor DPI aware.
configure_file(renderer/renderer.manifest ${CMAKE_BINARY_DIR}/renderer.manifest @ONLY)
configure_file(renderer/renderer_manifest.rc.in ${CMAKE_BINARY_DIR}/renderer_manifest.rc @ONLY)
add_executable(fulmina_renderer WIN32 renderer/main_win32.cpp ${CMAKE_BINARY_DIR}/version_dll.rc
  ${CMAKE_BINARY_DIR}/renderer_manifest.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/renderer_manifest.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/renderer.manifest)
target_link_libraries(fulmina_renderer PRIVATE renderer_win32)
set_target_properties(fulmina_renderer PROPERTIES OUTPUT_NAME Fulmina SUFFIX .dll
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
fulmina_warnings(fulmina_renderer)

# The saver host.
set(FULMINA_GENERATED_ASSETS "" CACHE PATH "The generated pictures (glow.bmp, preview.bmp)")
# The host's layers, each a library linking only what lies below it, so that
# a call in the wrong direction fails to link: the forms layer; the GIF
# control's portable core; the GIF control; the host itself.
add_library(forms_win32 STATIC ${FULMINA_FORMS_CORE_SOURCES} common/bmp_file.cpp
  forms/text_win32.cpp forms/application_win32.cpp forms/container_win32.cpp forms/form_win32.cpp
  forms/timer_win32.cpp forms/windowless_win32.cpp forms/mouse_path_win32.cpp forms/image_win32.cpp forms/font_win32.cpp
  forms/label_win32.cpp forms/user_control_win32.cpp forms/picture_win32.cpp forms/combo_box_win32.cpp)
target_link_libraries(forms_win32 PUBLIC common_win32 gdi32 user32 ole32 oleaut32 uuid)

add_library(gif_core STATIC ${FULMINA_GIF_CORE_SOURCES})

add_library(gif_control_win32 STATIC
  controls/gif/gif_frames_win32.cpp controls/gif/gif_download_win32.cpp controls/gif/ani_gif_win32.cpp)
target_link_libraries(gif_control_win32 PUBLIC forms_win32 gif_core wininet)

add_library(host_win32 STATIC ${FULMINA_HOST_CORE_SOURCES}
  host/platform_win32.cpp host/startup_win32.cpp host/startup_helpers_win32.cpp host/saver_controller_win32.cpp
  host/texture_file_win32.cpp host/user_only_security_win32.cpp host/settings_store_win32.cpp
  host/preview_win32.cpp host/single_instance_win32.cpp
  host/settings/command_win32.cpp host/settings/settings_dialog_win32.cpp)
target_link_libraries(host_win32 PUBLIC gif_control_win32 forms_win32 winmm msimg32 comdlg32 shell32 advapi32)

foreach(layer forms_win32 gif_core gif_control_win32 host_win32)
  target_include_directories(${layer} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${layer} PUBLIC UNICODE _UNICODE)
  fulmina_warnings(${layer})
endforeach()

configure_file(host/host.rc.in ${CMAKE_BINARY_DIR}/host.rc @ONLY)
add_executable(fulmina_host WIN32 host/main_win32.cpp ${CMAKE_BINARY_DIR}/host.rc)
target_include_directories(fulmina_host PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(fulmina_host PRIVATE host_win32)
set_target_properties(fulmina_host PROPERTIES OUTPUT_NAME Fulmina SUFFIX .scr
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
fulmina_warnings(fulmina_host)

# A developer's tool: the control's frames of a GIF as pictures.
add_executable(gifframes tools/gifframes_win32.cpp)
target_link_libraries(gifframes PRIVATE gif_control_win32)
set_target_properties(gifframes PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
fulmina_warnings(gifframes)

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests)
add_subdirectory(bench)
