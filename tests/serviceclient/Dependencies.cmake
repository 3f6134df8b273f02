include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_link_libraries(test_${area} PRIVATE ZLIB::ZLIB)
