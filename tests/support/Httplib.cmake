# The HTTP server library the loopback test servers use (tests/support/LoopbackHttpServer).
# Debian builds it as a shared library with TLS, zlib and brotli support; its header must be
# compiled with the same switches. Areas that start loopback servers include this file from their
# Dependencies.cmake.
if(NOT TARGET PkgConfig::httplib)
  pkg_check_modules(httplib REQUIRED IMPORTED_TARGET GLOBAL cpp-httplib)
  target_link_libraries(lk_testsupport PUBLIC PkgConfig::httplib)
endif()
