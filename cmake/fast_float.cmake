# fast_float, header-only, from Debian's libfast-float-dev. Its package points at /usr/include,
# which a cross compiler must not search (the host's C library headers would shadow the
# target's), so every build gets a folder of its own that holds the fast_float headers alone.
find_package(FastFloat REQUIRED CONFIG NO_CMAKE_FIND_ROOT_PATH)
get_target_property(fast_float_include FastFloat::fast_float INTERFACE_INCLUDE_DIRECTORIES)
find_path(fast_float_headers fast_float/fast_float.h
  PATHS ${fast_float_include} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(fast_float_copy ${CMAKE_BINARY_DIR}/third_party/fast_float)
file(COPY ${fast_float_headers}/fast_float DESTINATION ${fast_float_copy})

add_library(rtg_fast_float INTERFACE)
target_include_directories(rtg_fast_float SYSTEM INTERFACE ${fast_float_copy})
