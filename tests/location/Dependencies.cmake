# The position lookup is answered by a loopback server with gzip answers made with zlib.
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_link_libraries(test_${area} PRIVATE ZLIB::ZLIB)
