# Native build: the portable core, its tests and benchmarks; and, as external
# projects, the Windows builds whose tests join this build's ctest run.
option(FULMINA_SANITIZE "Build the native logic tests with ASan and UBSan" ON)
set(FULMINA_WINDOWS_ARCHS "" CACHE STRING
    "Windows builds to make (i686 ships; x86_64 runs the tests where 32-bit code cannot run); empty: decided by tools/test-arch")

find_package(PkgConfig REQUIRED)
pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa glu)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(FULMINA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(renderer_core STATIC ${FULMINA_RENDERER_CORE_SOURCES})
target_include_directories(renderer_core PUBLIC ${CMAKE_SOURCE_DIR})
fulmina_warnings(renderer_core)

# The portable cores as the logic tests link them: under the sanitizers.
function(fulmina_checked_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  fulmina_warnings(${name})
  if(FULMINA_SANITIZE)
    target_compile_options(${name} PUBLIC ${FULMINA_SANITIZER_FLAGS})
    target_link_options(${name} PUBLIC ${FULMINA_SANITIZER_FLAGS})
  endif()
endfunction()
fulmina_checked_library(renderer_core_checked ${FULMINA_RENDERER_CORE_SOURCES})
fulmina_checked_library(forms_core_checked ${FULMINA_FORMS_CORE_SOURCES})
fulmina_checked_library(gif_core_checked ${FULMINA_GIF_CORE_SOURCES})
fulmina_checked_library(host_core_checked ${FULMINA_HOST_CORE_SOURCES} ${FULMINA_COMMON_CORE_SOURCES})
target_link_libraries(host_core_checked PUBLIC forms_core_checked)
# Optimised, for the benchmarks beside giflib.
add_library(gif_core STATIC ${FULMINA_GIF_CORE_SOURCES})
target_include_directories(gif_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(gif_core PRIVATE -O2)
fulmina_warnings(gif_core)
find_package(GIF REQUIRED)  # giflib: the test oracle and the benchmarks' yardstick

add_library(fulmina_assets STATIC assets/glow_picture.cpp assets/preview_picture.cpp assets/button_skins.cpp
            assets/settings_pictures.cpp assets/bmp_writer.cpp common/bmp_file.cpp ${FULMINA_FORMS_CORE_SOURCES})
target_link_libraries(fulmina_assets PUBLIC gif_core)  # the banner is written with the project's GIF writer
target_include_directories(fulmina_assets PUBLIC ${CMAKE_SOURCE_DIR})
fulmina_warnings(fulmina_assets)

# The generated pictures, for the programs' resources and the end-to-end tests.
add_executable(make_assets assets/make_assets.cpp)
target_link_libraries(make_assets PRIVATE fulmina_assets)
set(FULMINA_GENERATED_ASSETS ${CMAKE_BINARY_DIR}/assets)
set(generated_pictures glow.bmp preview.bmp skin_normal.bmp skin_highlight.bmp skin_selected.bmp
    skin_highlightselect.bmp skin_pressed.bmp skin_disable.bmp tile.bmp plate.bmp plate_mask.bmp
    option0.bmp option1.bmp square0.bmp square1.bmp fulmina.ico hand.cur banner.gif settings_dialog.bag)
list(TRANSFORM generated_pictures PREPEND ${FULMINA_GENERATED_ASSETS}/)
add_custom_command(OUTPUT ${generated_pictures}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${FULMINA_GENERATED_ASSETS}
  COMMAND make_assets ${FULMINA_GENERATED_ASSETS}
  DEPENDS make_assets)
add_custom_target(generated_assets ALL DEPENDS ${generated_pictures})

# The Wine test environment: made once per run, shared by every Windows test.
set(FULMINA_WINE_ENV_DIR ${CMAKE_BINARY_DIR}/wine-env)

# The Windows builds.
if(FULMINA_WINDOWS_ARCHS STREQUAL "")
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/test-arch OUTPUT_VARIABLE test_arch
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(FULMINA_TEST_ARCH ${test_arch})
  if(test_arch STREQUAL "i686")
    set(FULMINA_WINDOWS_ARCHS i686)
  else()
    set(FULMINA_WINDOWS_ARCHS i686 x86_64)
  endif()
else()
  list(GET FULMINA_WINDOWS_ARCHS -1 FULMINA_TEST_ARCH)
endif()
message(STATUS "Windows builds: ${FULMINA_WINDOWS_ARCHS}; tests run the ${FULMINA_TEST_ARCH} build")
# For tools/test, which says which build its Wine tests ran.
file(WRITE ${CMAKE_BINARY_DIR}/windows-test-arch.txt "${FULMINA_TEST_ARCH}\n")

add_test(NAME wine.env.start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env start ${FULMINA_WINE_ENV_DIR} ${FULMINA_TEST_ARCH})
add_test(NAME wine.env.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env stop ${FULMINA_WINE_ENV_DIR})
set_tests_properties(wine.env.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)
set_tests_properties(wine.env.stop PROPERTIES FIXTURES_CLEANUP wine)
# A second one on a display of two monitors (Xorg with the dummy driver), for
# the tests that need them.
set(FULMINA_WINE_TWO_MONITORS_DIR ${CMAKE_BINARY_DIR}/wine-env-two-monitors)
add_test(NAME wine.two_monitors.start
  COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env start ${FULMINA_WINE_TWO_MONITORS_DIR} ${FULMINA_TEST_ARCH} two-monitors)
add_test(NAME wine.two_monitors.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env stop ${FULMINA_WINE_TWO_MONITORS_DIR})
set_tests_properties(wine.two_monitors.start PROPERTIES FIXTURES_SETUP wine_two_monitors TIMEOUT 600)
set_tests_properties(wine.two_monitors.stop PROPERTIES FIXTURES_CLEANUP wine_two_monitors)
# A third on one 1280 x 1024 monitor that has no other mode, as a remote-desktop
# session: the renderer's mode switch fails there.
set(FULMINA_WINE_FIXED_MODE_DIR ${CMAKE_BINARY_DIR}/wine-env-fixed-mode)
add_test(NAME wine.fixed_mode.start
  COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env start ${FULMINA_WINE_FIXED_MODE_DIR} ${FULMINA_TEST_ARCH} xvfb-1280x1024)
add_test(NAME wine.fixed_mode.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env stop ${FULMINA_WINE_FIXED_MODE_DIR})
set_tests_properties(wine.fixed_mode.start PROPERTIES FIXTURES_SETUP wine_fixed_mode TIMEOUT 600)
set_tests_properties(wine.fixed_mode.stop PROPERTIES FIXTURES_CLEANUP wine_fixed_mode)

include(ExternalProject)
foreach(arch IN LISTS FULMINA_WINDOWS_ARCHS)
  set(run_tests OFF)
  if(arch STREQUAL FULMINA_TEST_ARCH)
    set(run_tests ON)
  endif()
  ExternalProject_Add(windows-${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DFULMINA_WINE_ENV_DIR=${FULMINA_WINE_ENV_DIR}
      -DFULMINA_REGISTER_TESTS=${run_tests}
      -DFULMINA_GENERATED_ASSETS=${FULMINA_GENERATED_ASSETS}
    DEPENDS generated_assets
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
endforeach()
set(FULMINA_WINDOWS_BIN ${CMAKE_BINARY_DIR}/windows-${FULMINA_TEST_ARCH})

# The release: dist/ with the shipped programs, the zip and the installer.
add_custom_target(release
  COMMAND ${CMAKE_SOURCE_DIR}/tools/make-release ${CMAKE_BINARY_DIR}/windows-i686/bin ${FULMINA_GENERATED_ASSETS}
          ${CMAKE_SOURCE_DIR}/dist ${PROJECT_VERSION}
  DEPENDS windows-i686 generated_assets
  USES_TERMINAL)
add_test(NAME release.reproducible
  COMMAND ${CMAKE_SOURCE_DIR}/tools/check-reproducible ${CMAKE_BINARY_DIR} ${FULMINA_GENERATED_ASSETS} ${PROJECT_VERSION})
# A second build keeps both cores busy: the timing-sensitive Windows tests wait.
set_tests_properties(release.reproducible PROPERTIES TIMEOUT 900 RESOURCE_LOCK display)

# The tested Windows build's own ctest file joins this one.
file(WRITE ${CMAKE_BINARY_DIR}/windows-tests.cmake "subdirs(\"${FULMINA_WINDOWS_BIN}\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/windows-tests.cmake)

add_subdirectory(tests)
add_subdirectory(bench)
