# Record downloads are tested against loopback HTTP servers, with gzip answers made by zlib, and
# the decoders against real answers of the stand-in service (started as its own program).
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_link_libraries(test_${area} PRIVATE ZLIB::ZLIB)
add_dependencies(test_${area} lokavo-service)
