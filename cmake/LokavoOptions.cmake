# Compiler warnings and sanitizers shared by every target of the tree.
option(LOKAVO_WERROR "Treat warnings as errors" OFF)
option(LOKAVO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(LOKAVO_FUZZ "Build the libFuzzer targets (clang only)" OFF)

add_library(lokavo_options INTERFACE)
target_compile_features(lokavo_options INTERFACE cxx_std_20)
target_compile_options(lokavo_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wimplicit-fallthrough -Wformat=2 -Wno-missing-field-initializers
  # GCC 12 reports a false -Wrestrict on "literal" + std::string&& at -O2.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
if(LOKAVO_WERROR)
  target_compile_options(lokavo_options INTERFACE -Werror)
endif()

if(LOKAVO_SANITIZE)
  set(_lk_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${_lk_san})
  add_link_options(${_lk_san})
endif()

if(LOKAVO_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(WARNING "LOKAVO_FUZZ needs clang; fuzz targets are skipped")
  set(LOKAVO_FUZZ OFF)
endif()
