# keld's two libraries from Debian's packages, toml++ and nlohmann_json, the same
# way on both toolchains. Both are used from their headers only: the cross compiler
# must not search /usr/include, where the host's C library headers would shadow
# MinGW's, so a folder in the build tree holds links to these two libraries alone.
#
#   keld_toml  toml++, reporting parse errors as results, not exceptions; its
#              implementation is compiled once, in keld/TomlLibrary.cpp (Debian's
#              libtomlplusplus.so exists for the host only)
#   keld_json  nlohmann_json

find_path(VARNOKE_TOMLPP_INCLUDE_DIR toml++/toml.h PATHS /usr/include /usr/local/include
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(VARNOKE_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include /usr/local/include
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(VARNOKE_HEADER_LIBRARIES_DIR ${CMAKE_BINARY_DIR}/header-libraries)
file(MAKE_DIRECTORY ${VARNOKE_HEADER_LIBRARIES_DIR})
file(CREATE_LINK ${VARNOKE_TOMLPP_INCLUDE_DIR}/toml++ ${VARNOKE_HEADER_LIBRARIES_DIR}/toml++
    SYMBOLIC)
file(CREATE_LINK ${VARNOKE_JSON_INCLUDE_DIR}/nlohmann ${VARNOKE_HEADER_LIBRARIES_DIR}/nlohmann
    SYMBOLIC)

add_library(keld_toml INTERFACE)
target_include_directories(keld_toml SYSTEM INTERFACE ${VARNOKE_HEADER_LIBRARIES_DIR})
# Every file that includes toml++ must see the same settings: the same library on
# both systems (no wide-string overloads on Windows), and no TOML writers.
target_compile_definitions(keld_toml INTERFACE TOML_HEADER_ONLY=0 TOML_EXCEPTIONS=0
    TOML_ENABLE_FORMATTERS=0 TOML_ENABLE_WINDOWS_COMPAT=0)

add_library(keld_json INTERFACE)
target_include_directories(keld_json SYSTEM INTERFACE ${VARNOKE_HEADER_LIBRARIES_DIR})
