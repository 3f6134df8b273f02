# Picture downloads are tested against loopback HTTP servers.
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
