# Shared helpers: every layer is one static library built from the sources in its folder.

# Warnings are errors in the Debug, sanitizer and CI builds (VARROW_WERROR); a plain build from
# source with a newer compiler only warns.
function(varrow_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${VARROW_WERROR}>:-Werror>)
endfunction()

# varrow_layer(<name> <folder> [DEPS targets...])
# Builds varrow_<name> from <folder>/*.cpp|*.h (not recursive) and links DEPS publicly.
function(varrow_layer name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB cpp CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT cpp)
    # A layer that has no code yet is an interface target, so dependants can already name it.
    add_library(varrow_${name} INTERFACE)
    target_include_directories(varrow_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(varrow_${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(varrow_${name} STATIC ${sources})
  target_include_directories(varrow_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(varrow_${name} PUBLIC ${ARG_DEPS})
  varrow_warnings(varrow_${name})
endfunction()

# varrow_test(<name> <folder> [DEPS targets...])
# One GoogleTest executable per layer, run by CTest on the offscreen Qt platform.
function(varrow_test name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE varrow_test_support ${ARG_DEPS})
  varrow_warnings(test_${name})
  # The discovered tests' ENVIRONMENT loses everything after its first ";", so the bundle path
  # is also compiled in for tests that run without VARROW_STANDIN_BUNDLE set.
  target_compile_definitions(test_${name} PRIVATE VARROW_STANDIN_BUNDLE_DEFAULT="${VARROW_STANDIN_BUNDLE}")
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VARROW_STANDIN_BUNDLE=${VARROW_STANDIN_BUNDLE}"
               LABELS ${name})
endfunction()

# varrow_wayland_protocol(<target> <protocol>)
# Generates the client header and glue code of third_party/wayland-protocols/<protocol>.xml and
# builds them into <target>.
function(varrow_wayland_protocol target protocol)
  set(xml ${PROJECT_SOURCE_DIR}/third_party/wayland-protocols/${protocol}.xml)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/wayland)
  add_custom_command(
    OUTPUT ${out}/${protocol}-client-protocol.h ${out}/${protocol}-protocol.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${out}/${protocol}-client-protocol.h
    COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${out}/${protocol}-protocol.c
    DEPENDS ${xml}
    VERBATIM)
  target_sources(${target} PRIVATE ${out}/${protocol}-client-protocol.h ${out}/${protocol}-protocol.c)
  target_include_directories(${target} PRIVATE ${out})
endfunction()
